// Writes fixtures with SheetJS: node sheetjs_write.js <json>, where json is an array of
// {"file": path, "type": "biff2" | "wk1" | "biff5" | "biff8", "rows": [[value, ...], ...]}.
const path = require('path');
const XLSX = require(path.join(process.env.KELVA_NODE_MODULES || '', 'xlsx'));
for (const job of JSON.parse(process.argv[2])) {
  const wb = XLSX.utils.book_new();
  XLSX.utils.book_append_sheet(wb, XLSX.utils.aoa_to_sheet(job.rows), job.sheet || 'Sheet1');
  XLSX.writeFile(wb, job.file, { bookType: job.type });
}

// Prints the cells of the first sheet of each file named on the command line, as SheetJS reads them:
// a JSON array (one entry per file) of rows of [type, value] or null for an empty cell.
// A file that SheetJS cannot read gives {"error": message}.
const path = require('path');
const XLSX = require(path.join(process.env.KELVA_NODE_MODULES || '', 'xlsx'));
const out = [];
for (const file of process.argv.slice(2)) {
  try {
    const wb = XLSX.readFile(file, { raw: file.toLowerCase().endsWith('.csv') });
    const ws = wb.Sheets[wb.SheetNames[0]];
    const rows = [];
    if (ws['!ref']) {
      const r = XLSX.utils.decode_range(ws['!ref']);
      for (let R = 0; R <= r.e.r; ++R) {
        const row = [];
        for (let C = 0; C <= r.e.c; ++C) {
          const c = ws[XLSX.utils.encode_cell({ r: R, c: C })];
          if (!c || c.t === 'z' || c.t === 'e' || c.v === undefined) row.push(null);
          else row.push([c.t, c.v]);
        }
        rows.push(row);
      }
    }
    out.push(rows);
  } catch (e) {
    out.push({ error: String(e) });
  }
}
process.stdout.write(JSON.stringify(out));

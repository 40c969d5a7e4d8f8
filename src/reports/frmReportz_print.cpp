#include "reports/frmReportz.h"

void frmReportz::PrintReport()
{
}

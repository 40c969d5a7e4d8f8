// Writes the worksheet, WK1 and dBASE templates of the exports into a folder: kelva_templates <folder>
#include "export/predefined/layouts.h"
#include "export/session/tablefields.h"
#include "export/zuzizavoz/ellegtemplate.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: kelva_templates <folder>\n");
        return 2;
    }
    if (!tablefields::writeTemplates(args[1]) || !predefined::writeTemplates(args[1]) ||
        !zuzizavoz::writeTemplate(args[1])) {
        std::fprintf(stderr, "kelva_templates: could not write the templates into %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}

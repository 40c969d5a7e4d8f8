#include "update/applydriver.h"

#include "platform/dao/Transaction.h"
#include "update/codemerge.h"
#include "update/localityrefresh.h"
#include "update/referencetables.h"

namespace update {

const std::vector<ApplyStep>& applySteps()
{
    static const std::vector<ApplyStep> steps = {
        {"Update_ASC", 1, Update_ASC},
        {"Update_Lab", 5, Update_Lab},
        {"Update_DME", 10, Update_DME},
        {"Update_DRG", 30, Update_DRG},
        {"Update_JCODE", 60, Update_JCODE},
        {"Update_Location", 100, Update_Location},
        {"Update_ExcelReplacementsKelva", 110, Update_ExcelReplacementsKelva},
        {"Update_ExcelReplacementsAsc", 120, Update_ExcelReplacementsAsc},
        {"Update_ExcelReplacementsJCD", 120, Update_ExcelReplacementsJCD},
        {"Update_ExcelReplacementsDME", 120, Update_ExcelReplacementsDME},
        {"Update_ExcelReplacementsLab", 120, Update_ExcelReplacementsLab},
        {"Update_ExcelReplacementsDrg", 120, Update_ExcelReplacementsDrg},
        {"Temp_2004_Update", 120, Temp_2004_Update},
        {"Update_KELVA", 0, Update_KELVA},
    };
    return steps;
}

void applyUpdate(dao::Database main, const QString& path, const QString& connect, const UpdateHooks& hooks,
                 const QDateTime& strDate, QString& strUpdTables)
{
    // Attached before the transaction begins and detached after it has ended.
    UpdateDatabase source(main, path, connect);
    UpdateRun run(main, source);
    run.hooks = hooks;
    run.strDate = strDate;
    run.strUpdTables = strUpdTables;
    {
        dao::Transaction trans(run.main);
        for (const ApplyStep& step : applySteps()) {
            if (step.progress > 0)
                run.setProgress(step.progress);
            step.run(run);
        }
        const dao::Variant factor(kUpdateConvFactor);
        run.main.Execute(QStringLiteral("UPDATE SESSIONS SET CURCONVF = ?"), {factor});
        run.main.Execute(QStringLiteral("UPDATE PARMS_CL SET CURCONVF = ?"), {factor});
        trans.Commit();
    }
    strUpdTables = run.strUpdTables;
}

}  // namespace update

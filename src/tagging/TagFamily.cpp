#include "main/frmMain.h"
#include "tagging/TagWindow.h"

// The differences of the five family tagging windows, one row each.
const TagFamily kTagFamilies[5] = {
    {"frmTagDME", "DME", "[HCPCS]", false, "[Description]", "[Description]",
     "select [HCPCS],[Mod],[Description] from DME Order by [HCPCS], [Mod]",
     "SELECT [HCPCS],[Mod],[Description] from DME", "SELECT [HCPCS],[Mod],[Description] from DME",
     "UPDATE DME SET Tag = '+' WHERE ", "UPDATE DME SET Tag = Null",
     "Warning 'Clear All Tags' will permenantly remove all tagged codes from the DME grid on the main screen! Yes to "
     "Continue.",
     "Tagging preview for DMEPOS Table",
     {{"HCPCS", "HCPCS", 1200}, {"Mod", "Mod", 800}, {"Description", "Description", 6000}},
     &frmMain::DBGrid1, "through", false, true, false, "Label3", "Label4"},
    {"frmTagLAB", "LAB", "[HCPCS]", false, "[Description]", "[Description]",
     "select [HCPCS],[Mod],[Description] from LAB Order by [HCPCS], [Mod]",
     "SELECT [HCPCS],[Mod],[Description] from LAB", "SELECT [HCPCS],[Mod],[Description] from LAB",
     "UPDATE LAB SET Tag = '+' WHERE ", "UPDATE LAB SET Tag = Null",
     "Warning 'Clear All Tags' will permenantly remove all tagged codes from the Lab Code grid on the main screen! "
     "Yes to Continue.",
     "Tag Preview for Lab Codes",
     {{"HCPCS", "HCPCS", 1200}, {"Mod", "Mod", 800}, {"Description", "Description", 6000}},
     &frmMain::DBGrid2, "through", false, false, true, "Label3", "Label4"},
    {"frmTagJCD", "JCD", "[HCPCS]", false, "[Description]", "[Description]",
     "select [HCPCS],[Mod],[Description] from JCD Order by [HCPCS], [Mod]",
     "SELECT [HCPCS],[Mod],[Description] from JCD", "SELECT [HCPCS],[Mod],[Description] from JCD",
     "UPDATE JCD SET Tag = '+' WHERE ", "UPDATE JCD SET Tag = Null",
     "Warning 'Clear All Tags' will permenantly remove all tagged codes from the J-Code grid on the main screen! "
     "Yes to Continue.",
     "Tagging preview for J Code Table",
     {{"HCPCS", "HCPCS", 1200}, {"Mod", "Mod", 800}, {"Description", "Description", 6000}},
     &frmMain::DBGrid3, "to", true, true, false, "JCDel3", "JCDel4"},
    // The code range lists only the codes the session holds, with the session's description; "Yes" tags
    // by ASC alone. Its exclusion tests ASC's own description, the one "Yes" tests.
    {"frmTagASC", "[ASC]", "[CODE]", false, "[DESC]", "[ASC].[Desc]",
     "SELECT [ASC].CODE, %T.[DESC] FROM [ASC] INNER JOIN %T ON [ASC].CODE = %T.CODEMOD;",
     "SELECT [ASC].CODE, [ASC].[Desc] from [ASC]",
     "SELECT [ASC].CODE,  %T.[DESC] FROM [ASC] INNER JOIN %T ON [ASC].CODE = %T.CODEMOD",
     "UPDATE [ASC] SET Tag = '+' WHERE  ", "UPDATE [ASC] SET Tag = Null",
     "Warning 'Clear All Tags' will permenantly remove all tagged codes from the ASC Code grid on the main screen! "
     "Yes to Continue.",
     "Tag Preview for ASC Codes", {{"CODE", "CODE", 1200}, {"DESC", "DESC", 7000}}, &frmMain::DBGrid4, "through",
     false, true, false, "Label3", "Label4"},
    {"frmTagDRG", "DRG", "[DRG]", true, "[DESC]", "[Desc]", "SELECT DRG.DRG, DRG.[DESC] FROM DRG;",
     "SELECT DRG.DRG, DRG.[DESC] FROM DRG", "SELECT DRG.DRG, DRG.[DESC] FROM DRG", "UPDATE DRG SET Tag = '+' WHERE  ",
     "UPDATE DRG SET Tag = Null",
     "Warning 'Clear All Tags' will permenantly remove all tagged codes from the DRG Code grid on the main screen! "
     "Yes to Continue.",
     "Tag Preview for DRG Codes", {{"DRG", "DRG", 1000}, {"DESC", "DESC", 7000}}, &frmMain::DBGrid5, "through", false,
     true, false, "Label3", "Label4"},
};

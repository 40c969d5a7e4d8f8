#pragma once

// The old platform's message-box flags and results, and the program's own title, under the names
// the windows use.

inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Show a window modally or not (Form::Show).
inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

// Why a window is being unloaded (Form_QueryUnload).
inline constexpr int vbFormControlMenu = 0;
inline constexpr int vbFormCode = 1;
inline constexpr int vbAppWindows = 2;
inline constexpr int vbAppTaskManager = 3;

// Window states (Form::WindowState).
inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// File dialog flags that matter here.
inline constexpr int cdlOFNOverwritePrompt = 0x2;
inline constexpr int cdlOFNHideReadOnly = 0x4;
inline constexpr int cdlOFNNoChangeDir = 0x8;
inline constexpr int cdlOFNPathMustExist = 0x800;
inline constexpr int cdlOFNFileMustExist = 0x1000;

// Mouse pointers.
inline constexpr int vbDefault = 0;
inline constexpr int vbArrow = 1;
inline constexpr int vbHourglass = 11;

namespace platform {
// A message box without a title of its own shows this.
inline constexpr const char* kProgramTitle = "KELVA Morvex";
}

// Every number by which the program knows a resource: the menu's commands, the string table's
// entries, the dialog templates and the controls in them, and the packed pictures. The numbers
// are those the program has always used, and some numbers mean different things in different
// tables (40069 is both the "Cycle History" command and the main help text), so code names a
// resource only through this header; the numbers appear here and in the templates.
#pragma once

#include <cstdint>

// Menu commands, the WM_COMMAND ids of the menu bar's items, and the bar's buttons.
inline constexpr uint32_t kCmdMainButton = 40055;
inline constexpr uint32_t kCmdToolsButton = 40004;
inline constexpr uint32_t kCmdHelpButton = 40074;
inline constexpr uint32_t kCmdCycleView = 40068;
inline constexpr uint32_t kCmdCycleHistory = 40069;
inline constexpr uint32_t kCmdCycleCharts = 40070;
inline constexpr uint32_t kCmdTempHistory = 40071;
inline constexpr uint32_t kCmdTempCharts = 40072;
inline constexpr uint32_t kCmdExit = 40084;
inline constexpr uint32_t kCmdScheduleEdit = 40075;
inline constexpr uint32_t kCmdPillHistory = 40076;
inline constexpr uint32_t kCmdPrediction = 40077;
inline constexpr uint32_t kCmdIdealBody = 40078;
inline constexpr uint32_t kCmdDiary = 40079;
inline constexpr uint32_t kCmdMirror = 40080;
inline constexpr uint32_t kCmdOptions = 40081;
inline constexpr uint32_t kCmdPassword = 40082;
inline constexpr uint32_t kCmdMainHelp = 40057;
inline constexpr uint32_t kCmdCycleHistoryHelp = 40058;
inline constexpr uint32_t kCmdCycleChartsHelp = 40059;
inline constexpr uint32_t kCmdTempHistoryHelp = 40060;
inline constexpr uint32_t kCmdTempChartsHelp = 40061;
inline constexpr uint32_t kCmdScheduleHelp = 40062;
inline constexpr uint32_t kCmdPillHistoryHelp = 40063;
inline constexpr uint32_t kCmdDiaryHelp = 40064;
inline constexpr uint32_t kCmdPredictionHelp = 40065;
inline constexpr uint32_t kCmdAbout = 40003;

// String-table entries.
inline constexpr uint32_t kStrTitle = 1;        // "Calvira": the main window's title
inline constexpr uint32_t kStrWindowClass = 3;  // "CalviraApp"
inline constexpr uint32_t kStrToolsButton = 40006;
inline constexpr uint32_t kStrHelpButton = 40056;
inline constexpr uint32_t kStrMainButton = 40067;
inline constexpr uint32_t kStrVersionMajor = 40008;  // shown as major "." minor
inline constexpr uint32_t kStrVersionMinor = 40009;
inline constexpr uint32_t kStrAboutNotice = 40010;
inline constexpr uint32_t kStrAboutAddress = 40011;
inline constexpr uint32_t kStrMainHelp = 40069;
inline constexpr uint32_t kStrCycleHistoryHelp = 40070;
inline constexpr uint32_t kStrCycleChartsHelp = 40071;
inline constexpr uint32_t kStrTempHistoryHelp = 40072;
inline constexpr uint32_t kStrTempChartsHelp = 40073;
inline constexpr uint32_t kStrScheduleHelp = 40074;
inline constexpr uint32_t kStrPillHistoryHelp = 40075;
inline constexpr uint32_t kStrDiaryHelp = 40076;
inline constexpr uint32_t kStrPredictionHelp = 40077;

// Dialog templates, one per screen that has a dialog.
inline constexpr int kDlgSchedule = 278;
inline constexpr int kDlgHelp = 292;
inline constexpr int kDlgCycleView = 297;
inline constexpr int kDlgCycleHistory = 298;
inline constexpr int kDlgCycleCharts = 299;
inline constexpr int kDlgTempHistory = 300;
inline constexpr int kDlgPillHistory = 301;
inline constexpr int kDlgDayEntry = 302;
inline constexpr int kDlgPrediction = 303;
inline constexpr int kDlgIdealBody = 304;
inline constexpr int kDlgDiary = 306;
inline constexpr int kDlgPassword = 308;
inline constexpr int kDlgOptions = 310;
inline constexpr int kDlgAddCycle = 315;
inline constexpr int kDlgEditCycle = 318;
inline constexpr int kDlgNote = 319;
inline constexpr int kDlgPillTime = 324;
inline constexpr int kDlgPasswordPrompt = 344;
inline constexpr int kDlgTempCharts = 350;

// Controls. IDOK (1) and IDCANCEL (2) are the platform's; the Done button of the full-screen
// dialogs is IDCANCEL.
inline constexpr int kCtlTitle = 1012;  // the white-on-blue title, or the help text
inline constexpr int kCtlPasswordField = 1061;
inline constexpr int kCtlPasswordLabel = 1144;
inline constexpr int kCtlMonthTitle = 1153;  // the calendar's month and year

// Other resources.
inline constexpr uint32_t kMenuBarResource = 102;
inline constexpr int kMenuBarBitmap = 258;

// Packed pictures, by id. Each one's size is its own: the build reads it from the picture and
// the load takes it from there.
inline constexpr uint32_t kImgAboutEmblem = 266;  // keyed: pixel (1, 1) is transparent
inline constexpr uint32_t kImgCalendar = 279;
inline constexpr uint32_t kImgLogo = 287;
inline constexpr uint32_t kImgBackground = 290;
inline constexpr uint32_t kImgHelpFrame = 294;
inline constexpr uint32_t kImgAboutMoons = 296;  // 18 phases of 32 x 32, six to a row
inline constexpr uint32_t kImgMirror = 309;
inline constexpr uint32_t kImgListBackground = 311;
inline constexpr uint32_t kImgAboutBand = 314;
inline constexpr uint32_t kImgFormBackground = 322;
inline constexpr uint32_t kImgArrowDown = 325;
inline constexpr uint32_t kImgArrowUp = 326;
inline constexpr uint32_t kImgSwitchPm = 329;
inline constexpr uint32_t kImgSwitchAm = 331;
inline constexpr uint32_t kImgNumberTiles = 334;
inline constexpr uint32_t kImgEmptyCycleView = 337;
inline constexpr uint32_t kImgMonthStripEnd = 338;
inline constexpr uint32_t kImgMonthStripStart = 339;
inline constexpr uint32_t kImgTimeLineBar = 340;
inline constexpr uint32_t kImgPeriodBar = 341;
inline constexpr uint32_t kImgOvulationBar = 342;
inline constexpr uint32_t kImgWarningSign = 343;
inline constexpr uint32_t kImgDayIcons = 345;
inline constexpr uint32_t kImgChartArrows = 346;
inline constexpr uint32_t kImgChartBar = 349;

// Cycle History (screen 6, dialog kDlgCycleHistory) and Prediction (screen 12, dialog
// kDlgPrediction). The Prediction dialog's OK is the platform's IDOK.
inline constexpr int kCtlHistoryStartHeading = 1089;
inline constexpr int kCtlHistoryLengthHeading = 1090;
inline constexpr int kCtlHistoryList = 1019;
inline constexpr int kCtlHistoryAverageLabel = 1091;
inline constexpr int kCtlHistoryAverage = 1093;
inline constexpr int kCtlHistoryDays = 1092;
inline constexpr int kCtlHistoryAdd = 1015;
inline constexpr int kCtlHistoryDelete = 1018;
inline constexpr int kCtlHistoryDeleteAll = 1017;
inline constexpr int kCtlPredictionLastEndLabel = 1036;
inline constexpr int kCtlPredictionLastEnd = 1037;
inline constexpr int kCtlPredictionAverageLabel = 1038;
inline constexpr int kCtlPredictionAverage = 1095;
inline constexpr int kCtlPredictionRange = 1040;
inline constexpr int kCtlPredictionStartLabel = 1042;
inline constexpr int kCtlPredictionStart = 1043;
inline constexpr int kCtlPredictionEndLabel = 1044;
inline constexpr int kCtlPredictionEnd = 1088;
inline constexpr int kCtlPredictionListLabel = 1041;
inline constexpr int kCtlPredictionList = 1035;
inline constexpr int kCtlPredict = 1033;
inline constexpr int kCtlPredictionAddCycle = 1032;
// Controls of the Cycle View (kDlgCycleView), Add New Cycle (kDlgAddCycle) and Edit Cycle
// (kDlgEditCycle). Both forms also have IDOK and IDCANCEL and the title kCtlTitle.
inline constexpr int kCtlCycleAdd = 1015;   // the Cycle View's default button
inline constexpr int kCtlCycleEdit = 1016;  // hidden until a cycle is drawn
inline constexpr int kCtlAddStartLabel = 1101;
inline constexpr int kCtlAddStart = 1110;  // read-only; taking the focus opens the calendar
inline constexpr int kCtlAddPeriodLabel = 1103;
inline constexpr int kCtlAddPeriod = 1112;
inline constexpr int kCtlAddPresumedLabel = 1104;
inline constexpr int kCtlAddPresumed = 1100;
inline constexpr int kCtlAddEndLabel = 1102;
inline constexpr int kCtlAddEnd = 1111;  // the predicted end, read-only
inline constexpr int kCtlEditStartLabel = 1105;
inline constexpr int kCtlEditStart = 1006;
inline constexpr int kCtlEditPeriodLabel = 1106;
inline constexpr int kCtlEditPeriod = 1142;
inline constexpr int kCtlEditLengthLabel = 1107;
inline constexpr int kCtlEditLength = 1141;
inline constexpr int kCtlEditEndLabel = 1108;
inline constexpr int kCtlEditEnd = 1045;

// Ideal Body Calculator (screen 13, dialog kDlgIdealBody): its two instruction texts in the
// string table and its controls. Cancel is the platform's IDCANCEL.
inline constexpr uint32_t kStrIdealWeightInstruction = 40078;
inline constexpr uint32_t kStrIdealHeightInstruction = 40079;
inline constexpr int kCtlIdealCalculate = 1046;
inline constexpr int kCtlIdealMode = 1047;  // switches between ideal weight and ideal height
inline constexpr int kCtlIdealInstruction = 1048;
inline constexpr int kCtlIdealInputLabel = 1049;
inline constexpr int kCtlIdealInput = 1050;
inline constexpr int kCtlIdealInputUnit = 1051;
inline constexpr int kCtlIdealOutputLabel = 1052;
inline constexpr int kCtlIdealOutputUnit = 1053;
inline constexpr int kCtlIdealResult = 1054;

// Password (screen 16, dialog kDlgPassword) and Options (screen 17, dialog kDlgOptions). Both
// also have IDOK, IDCANCEL and the title kCtlTitle.
inline constexpr int kCtlPasswordCurrentLabel = 1061;
inline constexpr int kCtlPasswordNewLabel = 1062;
inline constexpr int kCtlPasswordVerifyLabel = 1064;
inline constexpr int kCtlPasswordCurrent = 1146;
inline constexpr int kCtlPasswordNew = 1067;
inline constexpr int kCtlPasswordVerify = 1068;
inline constexpr int kCtlOptionsChartGroup = 1071;
inline constexpr int kCtlOptionsShowMinMax = 1074;
inline constexpr int kCtlOptionsScaleGroup = 1087;
inline constexpr int kCtlOptionsFahrenheit = 1128;  // the pair's first id
inline constexpr int kCtlOptionsCelsius = 1129;     // the pair's last id
inline constexpr int kCtlOptionsDisableLogo = 1139;

// Temp History (screen 8, dialog kDlgTempHistory). Its title is kCtlTitle.
inline constexpr int kCtlTempAdd = 1015;
inline constexpr int kCtlTempDelete = 1018;
inline constexpr int kCtlTempDeleteAll = 1017;
inline constexpr int kCtlTempHeader = 1096;
inline constexpr int kCtlTempList = 1019;
inline constexpr int kCtlTempPicker = 1058;  // the value picker, over the list's right part
inline constexpr int kCtlTempCelsius = 1022;
inline constexpr int kCtlTempFahrenheit = 1021;

// Controls of Cycle Charts (kDlgCycleCharts) and Temperature Charts (kDlgTempCharts).
inline constexpr int kCtlChartAdd = 1149;        // Cycle Charts' default button
inline constexpr int kCtlChartFirstYear = 1150;  // year of the page's first cycle
inline constexpr int kCtlChartLastYear = 1151;   // year of the page's last cycle
inline constexpr int kCtlChartFirstDate = 1152;  // first day of the temperature window
inline constexpr int kCtlChartLastDate = 1153;   // last day of the temperature window

// The day entry editor (screen 11, dialog kDlgDayEntry), the pill time picker (screen 21, dialog
// kDlgPillTime) and Pill History (screen 10, dialog kDlgPillHistory). The editor's title is
// kCtlTitle and shows the day; its Cancel and the picker's OK and Cancel are the platform's.
inline constexpr int kCtlDayBleedingLabel = 1031;
inline constexpr int kCtlDayHeavy = 1026;
inline constexpr int kCtlDayNormal = 1027;
inline constexpr int kCtlDaySlight = 1028;
inline constexpr int kCtlDayPill = 1029;
inline constexpr int kCtlDayTime = 1120;  // the pill's time; opens the picker
inline constexpr int kCtlDayRemark = 1030;
inline constexpr int kCtlDayDone = 1024;
inline constexpr int kCtlDayDelete = 1018;
inline constexpr int kCtlPillTimeColon = 1115;
inline constexpr int kCtlPillHistoryHeader = 1094;
inline constexpr int kCtlPillHistoryList = 1148;
inline constexpr int kCtlPillHistoryDelete = 1018;
inline constexpr int kCtlPillHistoryDeleteAll = 1017;

// My Diary (screen 14, dialog kDlgDiary) and Add Your Note (screen 20, dialog kDlgNote). My
// Diary's title is kCtlTitle; Add Your Note has IDOK and IDCANCEL. Both dialogs call their date
// label 1097.
inline constexpr int kCtlDiaryCategory = 1099;  // the drop-down list of the five categories
inline constexpr int kCtlDiaryDateHeading = 1097;
inline constexpr int kCtlDiaryNoteHeading = 1098;
inline constexpr int kCtlDiaryList = 1147;
inline constexpr int kCtlDiaryAdd = 1015;
inline constexpr int kCtlDiaryDelete = 1018;
inline constexpr int kCtlDiaryDeleteAll = 1017;
inline constexpr int kCtlNoteDateLabel = 1097;
inline constexpr int kCtlNoteDate = 1113;  // read-only; taking the focus opens the calendar
inline constexpr int kCtlNoteTextLabel = 1109;
inline constexpr int kCtlNoteText = 1050;

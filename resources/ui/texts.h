// The program's own texts that are not in the string table: messages, captions and reports,
// each written once. They are the handheld program's words and stay as they are, spelling
// included ("Not exixting view" is what the tick reports).
#pragma once

// Captions.
inline constexpr const char16_t* kTextCalvira = u"Calvira";
inline constexpr const char16_t* kTextFatalError = u"Fatal Error";
inline constexpr const char16_t* kTextPassword = u"Password";

// Messages.
inline constexpr const char16_t* kTextNoFinishedCycles = u"There are no finished cycles!";
inline constexpr const char16_t* kTextCycleAlreadyExists = u"Cycle already exists";
inline constexpr const char16_t* kTextWrongPassword = u"Wrong password!\nTry again?";
inline constexpr const char16_t* kTextLoading = u"Loading...";
inline constexpr const char16_t* kTextVisit = u"Visit";

// "Fatal Error" reports of the screen table. An empty entry is reported with the second text by
// the tick and by the deactivation step of a switch's arrival (OnSetView), with the first
// everywhere else; the spelling of each is the program's own.
inline constexpr const char16_t* kTextEmptyViewEntry = u"Not existing view";
inline constexpr const char16_t* kTextEmptyViewEntryOnTickOrArrival = u"Not exixting view";
inline constexpr const char16_t* kTextInstanceExists = u" The Instance already exist!";
inline constexpr const char16_t* kTextWrongViewId = u"Wrong View ID";

// Cycle History and Prediction.
inline constexpr const char16_t* kTextPrediction = u"Prediction";
inline constexpr const char16_t* kTextNotAvailable = u"N/A";
inline constexpr const char16_t* kTextSelectCycleToDelete = u"Please,select a cycle to delete";
inline constexpr const char16_t* kTextDeleteSelectedCycle = u"Delete selected cycle?";
inline constexpr const char16_t* kTextDeleteAllCycles = u"Delete all cycles?";
inline constexpr const char16_t* kTextAverageNotZero =
    u"Average cycle length must be more than zero!";
inline constexpr const char16_t* kTextStartBeforeEnd =
    u"Start date must be earlier than the end one";
// The question around a predicted date's line: "Do you want to add date\n" + line + " as ...".
inline constexpr const char16_t* kTextAddDateBefore = u"Do you want to add date\n";
inline constexpr const char16_t* kTextAddDateAfter = u" as a new cycle?";
// Cycle View, Add New Cycle and Edit Cycle.
inline constexpr const char16_t* kTextAddNewCycle = u"Add New Cycle";
inline constexpr const char16_t* kTextEditCycle = u"Edit Cycle";
inline constexpr const char16_t* kTextIncorrectPeriodLength = u"Incorrect period length";
inline constexpr const char16_t* kTextPeriodMoreThanZero = u"Period length must be more than zero";
// The time line's labels.
inline constexpr const char16_t* kTextStart = u"Start";
inline constexpr const char16_t* kTextEnd = u"End";
inline constexpr const char16_t* kTextOvulation = u"Ovulation";
inline constexpr const char16_t* kTextLength = u"Length";
inline constexpr const char16_t* kTextPeriodBefore = u"Period  ";  // then the days, then:
inline constexpr const char16_t* kTextPeriodAfter = u"  days";
inline constexpr const char16_t* kTextCycleLengthBefore = u"Cycle length ";  // then the days:
inline constexpr const char16_t* kTextCycleLengthAfter = u" days";
// The notice that replaces the time line of a cycle whose length is outside 14..40.
inline constexpr const char16_t* kTextInvalidCycleNotice[] = {
    u"The graph of this cycle",
    u"cannot be displayed",
    u"and ovulation cannot",
    u"be calculated correctly",
    u"because its length is",
    u"more than 40 or less",
    u"than 14 days",
};
// Month names, January first; the strip shows their first three characters.
inline constexpr const char16_t* kTextMonthNames[] = {
    u"Jan",  u"Feb", u"Mar", u"Apr", u"May", u"June",
    u"July", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec",
};
// Ideal Body Calculator. Its range messages and result texts belong to tools/ideal_body.
inline constexpr const char16_t* kTextIdealBodyCalculator = u"Ideal Body Calculator";
inline constexpr const char16_t* kTextWeight = u"Weight";
inline constexpr const char16_t* kTextHeight = u"Height";
// The mode button names the mode it switches to.
inline constexpr const char16_t* kTextCalculateIdealHeight = u"Calculate ideal height";
inline constexpr const char16_t* kTextCalculateIdealWeight = u"Calculate ideal weight";
// Password and Options.
inline constexpr const char16_t* kTextOptions = u"Options";
inline constexpr const char16_t* kTextVerificationFailed = u"Verification failed!";
inline constexpr const char16_t* kTextPasswordChanged = u"Password changed\nsuccessfully!";
inline constexpr const char16_t* kTextEnterCurrentPassword = u"Please enter\nthe current password!";
inline constexpr const char16_t* kTextPasswordSame = u"The password\nis the same!";
inline constexpr const char16_t* kTextRemovePassword = u"Remove current\npassword?";
// Before a store is encrypted under a password.
inline constexpr const char16_t* kTextEncryptRecords =
    u"Your records will be encrypted with this password. Without it nobody can read them, and "
    u"nobody can recover them if it is forgotten.";
// "Fatal Error" reports of the two screens: the settings record could not be read or written.
inline constexpr const char16_t* kTextPasswordViewRead = u"CPasswordView::OnOk 1";
inline constexpr const char16_t* kTextOptionsViewRead = u"COptionsView::OnOk 1";
inline constexpr const char16_t* kTextOptionsViewWrite = u"COptionsView::OnOk 2";

// Temp History.
inline constexpr const char16_t* kTextCelsius = u"\u00B0C";
inline constexpr const char16_t* kTextFahrenheit = u"\u00B0F";
inline constexpr const char16_t* kTextSelectTemperatureToDelete =
    u"Please,select a temperature to delete";
inline constexpr const char16_t* kTextDeleteSelectedTemperature = u"Delete selected temperature?";
inline constexpr const char16_t* kTextDeleteAllTemperatures = u"Delete all temperatures?";

// Temperature Charts: the unit under the axis and the hint in the detail area.
inline constexpr const char16_t* kTextCelsiusUnit = u"\u00b0C";
inline constexpr const char16_t* kTextFahrenheitUnit = u"\u00b0F";
inline constexpr const char16_t* kTextChartHint[] = {
    u"Tap on chart node to",
    u"see detail information",
};

// The day entry editor, the pill time picker and Pill History.
inline constexpr const char16_t* kTextDeleteCurrentStage = u"Delete current stage?";
inline constexpr const char16_t* kTextNoonTime = u"12:00";  // the time button's own default
inline constexpr const char16_t* kTextTimeToTakeAPill = u"Time to take a Pill";
inline constexpr const char16_t* kTextPillHistory = u"Pill History";
inline constexpr const char16_t* kTextSelectPillToDelete = u"Please,select a pill to delete";
inline constexpr const char16_t* kTextDeleteSelectedPill = u"Delete selected pill?";
inline constexpr const char16_t* kTextDeleteAllPills = u"Delete all pills?";

// My Diary and Add Your Note. The category names belong to diary/diary_records.
inline constexpr const char16_t* kTextMyDiary = u"My Diary";
inline constexpr const char16_t* kTextAddYourNote = u"Add Your Note";
inline constexpr const char16_t* kTextDate = u"Date";
inline constexpr const char16_t* kTextNote = u"Note";
inline constexpr const char16_t* kTextTypeYourTextHere = u"Type your text here";
inline constexpr const char16_t* kTextSelectNoteToDelete = u"Please,select a note to delete";
inline constexpr const char16_t* kTextDeleteSelectedNote = u"Delete selected note?";
inline constexpr const char16_t* kTextDeleteAllNotes = u"Delete all notes?";

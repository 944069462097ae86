// CDiaryView (screen 14, "My Diary"): the notes of one category, chosen in a drop-down list, one
// line per note with its date. Delete and Delete All take notes of that category out of the
// store; Add opens Add Your Note over the list. A list screen: its dialog is modeless and lives
// while it is shown, and also while Add Your Note and the calendar it opens are on top, disabled
// then, so that the note comes back to the same list.
#pragma once

#include <cstddef>

#include "frame/dialog_view.h"

class CDiaryView : public CListView_ {
 public:
  CDiaryView();
  void OnLoad() override;
  void OnActivate() override;
  bool OnDeactivate() override;

  // The screen in the document's table; null (after a "Fatal Error" report) when the table has
  // none of this class under kDiaryView.
  static CDiaryView* Find();

  // The category shown, an index of DiaryCategories(); it lasts for the run.
  size_t Category() const { return category_; }
  // Lists the notes of the category again.
  void FillList();
  // Add Your Note was left some other way than back to this screen: the kept dialog goes.
  void ReleaseKeptDialog();

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void OpenNote(ce::HWND dialog);
  void DeleteSelected(ce::HWND dialog);
  void DeleteAll(ce::HWND dialog);

  size_t category_ = 0;
  // Set while Add Your Note is on top: the dialog survives this screen's deactivation.
  bool keep_dialog_ = false;
};

#include "frame/start_view.h"

#include "store/catalogue.h"

void CStartView::OnLoad() {
  CreateCatalogue();
}

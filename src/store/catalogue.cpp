#include "store/catalogue.h"

namespace {

constexpr ce::CEPROPID kDayUI4 = ce::PropId(0, ce::CEVT_UI4);
constexpr ce::CEPROPID kText1 = ce::PropId(1, ce::CEVT_LPWSTR);

// "Systems" sorts by properties its record never has with these types; its one record stays in
// the store's own order.
constexpr CatalogueEntry kCatalogue[] = {
    {u"Cycles", kDayUI4, ce::PropId(2, ce::CEVT_UI2)},
    {u"Temperature", kDayUI4, ce::PropId(1, ce::CEVT_R8)},
    {u"Pill", kDayUI4, ce::PropId(1, ce::CEVT_UI4)},
    {u"Systems", kText1, ce::PropId(5, ce::CEVT_UI2)},
    {u"Temp", kDayUI4, ce::PropId(1, ce::CEVT_R8)},
    {u"Doctors", kDayUI4, kText1},
    {u"HairDressers", kDayUI4, kText1},
    {u"BeautyParlors", kDayUI4, kText1},
    {u"Fitnes", kDayUI4, kText1},
    {u"Miscs", kDayUI4, kText1},
};

}  // namespace

std::span<const CatalogueEntry> DatabaseCatalogue() {
  return kCatalogue;
}

void CreateCatalogue() {
  CCeDatabase db;
  for (const CatalogueEntry& entry : kCatalogue) {
    // A database that exists answers with an error code; its records stay as they are.
    db.Create(entry.name, kDatabaseTypeId, entry.sort1, entry.sort2);
  }
}

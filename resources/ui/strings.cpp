// The string table.
#include <algorithm>
#include <map>
#include <string_view>

#include "frame/ui_resources.h"

namespace {

const std::map<uint32_t, const char16_t*>& Table() {
  static const std::map<uint32_t, const char16_t*> table = {
      {1, u"Calvira"},
      {3, u"CalviraApp"},
      {40006, u"Tools"},
      {40056, u"Help"},
      {40067, u"Main"},
      // The version, shown as 40008 "." 40009: the project's, which --version prints too.
      {40008, u"" CALVIRA_VERSION_MAJOR},
      {40009, u"" CALVIRA_VERSION_MINOR},
      // The About screen's notice line and the address after "Visit".
      {40010, u"your data stays here"},
      {40011, u"calvira.example.org"},
      {40069,
       u"This is the main screen of the\nprogram. The beginning and the length of your current "
       u"cycle (period)\ncan be seen in it.\nIn the bottom right corner of the\nscreen the program "
       u"shows the\nlength of the current cycle or the\nsupposed length of the last "
       u"cycle\n(calculated by the program!).\n\nUse the Add button to add a new\ncycle.\n\nThe "
       u"arrows on the left-hand of the\nscreen enable you to view the\nprevious or the following "
       u"cycle\nfrom the chronologically loaded data."},
      {40070,
       u"The screen displays a list of all\ncycles entered in the program in\nascending "
       u"order.\nEvery cycle is followed by its real\nlength whereas the last one is followed by "
       u"N/A since its length will\nbe calculated after entering it.\n\nUse the Delete button to "
       u"delete the\nhighlighted cycle.\n\nUse the Delete all button to delete\nall cycles entered "
       u"so far. "},
      {40071,
       u"The screen displays a graph of\nall cycle lengths. On the left-hand\nside you will find a "
       u"chart displaying\nthe dates chronologically arranged\non a monthly basis. The arrows "
       u"at\nthe top of the screen enable you to\nto view the whole data."},
      {40072,
       u"Here you can enter your daily\ntemperature readings.\nThe dates are arranged in "
       u"a\nchronological order.\nUse the Add button to enter a new\nreading and it will "
       u"immediately\nappear in the list.\n\nUse the Delete button to delete the\nhighlighted "
       u"record.\n\nUse the Delete All button to delete\nall readings entered so far."},
      {40073,
       u"The screen displays a graph of the\ntemperature readings.\nOn the left-hand side there is "
       u"a\nchart with a chronological list of all\nreadings.\nUse the arrows at the top of "
       u"the\nscreen to move along the chart.\nTo find out the exact date of a\nspecific "
       u"temperature reading, tap on\nit and the date with the respective\nrecord will appear at "
       u"the bottom of\nthe screen. "},
      {40074,
       u"Use this screen to enter information\nabout your contraceptive pills,\nthe intensity of "
       u"your bleeding as well\nas any other remarks. Choose a\ndate,tap on it and enter "
       u"the\nnecessary data."},
      {40075,
       u"This screen shows the corresponding\ndate\\time for taking your pills. All\ndates are "
       u"arranged chronologically.\n\nUse the Delete button to delete the highlighted "
       u"record.\n\nUse the Delete  All button to delete all records entered so far."},
      {40076,
       u"Calvira allows you to take short\nnotes (up to 20 symbols) of regular\nevents, such as "
       u"medical check-ups\nfitness training etc. From the popup\nlist in the upper right corner "
       u"of the\nscreen select the corresponding event.\nTap Add to enter a new record.\n\nTap "
       u"Delete/DeleteAll to delete one\nor all of your records."},
      {40077,
       u"Use this screen to predict your\nfuture cycles.The program uses the\ndates of your last "
       u"cycle and your\naverage cycle length and calculates\nthe beginning of your future "
       u"cycles\nfor a specific period of time.\nEnter the start/end dates of the\nrespective "
       u"period and the program\nwill calculate and display on the\nright-hand side the estimated "
       u"start\ndates of all new cycles for the\nspecified period of time."},
      // The Ideal Body Calculator's instruction in each of its modes.
      {40078, u"Calculate your ideal weight\non the base of your height:"},
      {40079, u"Calculate your ideal height\non the base of your weight:"},
  };
  return table;
}

}  // namespace

const char16_t* LoadString(uint32_t id) {
  auto it = Table().find(id);
  return it == Table().end() ? nullptr : it->second;
}

int LoadString(uint32_t id, char16_t* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  const char16_t* text = LoadString(id);
  if (text == nullptr) {
    buffer[0] = u'\0';
    return 0;
  }
  const std::u16string_view view(text);
  const size_t n = std::min(view.size(), static_cast<size_t>(size - 1));
  std::copy_n(view.data(), n, buffer);
  buffer[n] = u'\0';
  return static_cast<int>(n);
}

// calvira-artwork: draws every picture of the program from code.
//
//   calvira-artwork IMAGES_DIR [CONTACT_SHEET.png]
//   calvira-artwork --icons ICONS_DIR
//
// writes IMAGES_DIR/<id>.png for every packed image and, when asked, the contact sheet; or the
// desktop icon at every size. `make artwork` runs it on resources/images and
// docs/images/contact-sheet.png, and on resources/icons.
#include <cstdio>
#include <filesystem>
#include <string>

#include "artwork.h"

int main(int argc, char** argv) {
  const bool icons = argc == 3 && std::string(argv[1]) == "--icons";
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr,
                 "usage: calvira-artwork IMAGES_DIR [CONTACT_SHEET.png]\n"
                 "       calvira-artwork --icons ICONS_DIR\n");
    return 2;
  }
  const std::filesystem::path dir = argv[icons ? 2 : 1];
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "calvira-artwork: cannot create %s: %s\n", dir.c_str(),
                 error.message().c_str());
    return 1;
  }
  if (icons) {
    if (!art::WriteIcons(dir)) return 1;
    std::printf("wrote the icons to %s\n", dir.c_str());
    return 0;
  }
  const auto pictures = art::DrawAll();
  for (const auto& [id, picture] : pictures) {
    const std::string path = (dir / (std::to_string(id) + ".png")).string();
    if (!picture.canvas.WritePng(path)) {
      std::fprintf(stderr, "calvira-artwork: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  std::printf("wrote %zu pictures to %s\n", pictures.size(), dir.c_str());
  if (argc == 3) {
    if (!art::ContactSheet(pictures).WritePng(argv[2])) {
      std::fprintf(stderr, "calvira-artwork: cannot write %s\n", argv[2]);
      return 1;
    }
    std::printf("wrote the contact sheet to %s\n", argv[2]);
  }
  return 0;
}

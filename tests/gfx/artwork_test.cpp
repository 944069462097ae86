// The promise that the committed pictures are exactly what tools/artwork draws, and the packer's
// refusals. (How the pictures convert and fit the screens is the screenshots'.)
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "../../tools/packer/png_io.h"
#include "gfx_test_util.h"
#include "support/temp_store.h"

namespace {

Rgb565Image Load(const std::filesystem::path& path) {
  Rgb565Image image;
  EXPECT_EQ(ReadPngAs565(path.string(), image), "") << path;
  return image;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs the generator; its fonts come from fontconfig, whose caches live for the process, and a
// leak report about them says nothing about the pictures.
int Generate(const std::string& arguments) {
  const std::string command = "ASAN_OPTIONS=detect_leaks=0 " + std::string(CALVIRA_ARTWORK_EXE) +
                              " " + arguments + " >/dev/null";
  return std::system(command.c_str());
}

TEST(Artwork, ThePackerRefusesWhatIsNotAPngAndTheCommittedPicturesAreWhatTheGeneratorDraws) {
  Rgb565Image image;
  EXPECT_NE(ReadPngAs565("/nonexistent/picture.png", image), "");
  EXPECT_NE(ReadPngAs565((gfx_test::ImagesDir() / ".." / "ui" / "ids.h").string(), image), "");
  const std::filesystem::path out = calvira::testing::MakeTempDir("artwork");
  ASSERT_EQ(Generate(out.string()), 0);
  for (const auto& entry : std::filesystem::directory_iterator(gfx_test::ImagesDir())) {
    const auto drawn_path = out / entry.path().filename();
    ASSERT_TRUE(std::filesystem::exists(drawn_path)) << entry.path().filename();
    const Rgb565Image committed = Load(entry.path()), drawn = Load(drawn_path);
    EXPECT_TRUE(committed.width == drawn.width && committed.height == drawn.height &&
                committed.bytes == drawn.bytes)
        << entry.path().filename() << " is not what tools/artwork draws; run `make artwork`";
  }

  // The desktop icons keep their alpha and full colours, so they are compared byte for byte.
  ASSERT_EQ(Generate("--icons " + (out / "icons").string()), 0);
  const std::filesystem::path committed_icons = gfx_test::ImagesDir() / ".." / "icons";
  for (const char* name :
       {"calvira-48.png", "calvira-64.png", "calvira-128.png", "calvira-256.png", "calvira.svg"}) {
    const std::string committed = Bytes(committed_icons / name);
    EXPECT_FALSE(committed.empty()) << name << " is not committed";
    EXPECT_TRUE(committed == Bytes(out / "icons" / name))
        << name << " is not what tools/artwork draws; run `make artwork`";
  }
  std::filesystem::remove_all(out);
}

}  // namespace

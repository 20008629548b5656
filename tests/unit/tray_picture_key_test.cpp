// The key a tick compares instead of composing: two samples with equal keys must give the same
// picture, whatever the display settings, or an unchanged-looking tick would leave a stale
// picture in the tray. Checked against the composer itself over a dense sweep of samples.
#include "tray/tray_image.h"

#include <gtest/gtest.h>

#include <map>

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");
const SystemColorTable kColors = windows10SystemColors();

TrayPicture compose(const MemorySample& sample, const TKelvaneOptions& options, DigitStrips& strips) {
  const TrayPictureKey key = trayPictureKey(sample, options, kDot);
  // Metrics as a system font would give them, growing with the text.
  const SystemFontMetrics metrics{static_cast<int>(key.displayText.size()) * 4, 8};
  return ComposeTrayImage({options, sample, key.displayText, key.level, kColors, kDot, metrics}, strips);
}

std::vector<TKelvaneOptions> displays() {
  std::vector<TKelvaneOptions> all;
  for (int variant = 0; variant < 32; ++variant) {
    TKelvaneOptions o = defaultOptions(10);
    o.ShowPercentage = variant & 1;
    o.ShowFree = variant & 2;
    o.ShowPage = variant & 4;
    o.OptimizeForGigabytes = variant & 8;
    o.InternalFont = !(variant & 16);
    o.FullBar = variant % 3 == 0;
    o.NoBorder = variant % 5 != 0;
    all.push_back(o);
  }
  return all;
}

}  // namespace

TEST(TrayPictureKey, EqualKeysComposeEqualPictures) {
  DigitStrips strips;
  const std::uint64_t mib = 1ull << 20;
  const std::uint64_t jitters[] = {0, 1024, 700 * 1024, 3 * mib, 60 * mib};
  for (const TKelvaneOptions& options : displays()) {
    std::map<std::string, TrayPicture> pictureOfKey;
    int repeats = 0;
    for (std::uint64_t total : {2048 * mib, 16384 * mib}) {
      for (std::uint32_t load = 0; load <= 100; ++load) {
        for (std::uint64_t jitter : jitters) {
          const std::uint64_t avail = total / 100 * (100 - load) + jitter;
          const MemorySample sample{load, total, avail, total * 3 / 2, avail / 2 + jitter};
          const TrayPictureKey key = trayPictureKey(sample, options, kDot);
          const std::string name = key.displayText + "|" + std::to_string(static_cast<int>(key.level)) +
                                   "|" + std::to_string(key.barFill);
          const TrayPicture picture = compose(sample, options, strips);
          const auto [it, inserted] = pictureOfKey.emplace(name, picture);
          if (inserted) continue;
          ++repeats;
          ASSERT_EQ(it->second, picture) << "key " << name << " load " << load << " avail " << avail;
        }
      }
    }
    // Neither vacuous nor blind: samples do share keys, and the keys tell pictures apart.
    EXPECT_GT(repeats, 0);
    EXPECT_GT(pictureOfKey.size(), 50u);
  }
}

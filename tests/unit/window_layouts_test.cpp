#include <gtest/gtest.h>

#include <vector>

#include "dialogs/link_markup.h"
#include "dialogs/window_layouts.h"

using namespace kelvane;

namespace {

bool overlap(const Box& a, const Box& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

void expectLaidOut(const std::vector<Box>& boxes, int width, int height, int dpi) {
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_GE(boxes[i].left, 0) << i << " at " << dpi;
    EXPECT_GE(boxes[i].top, 0) << i << " at " << dpi;
    EXPECT_LE(boxes[i].right(), width) << i << " at " << dpi;
    EXPECT_LE(boxes[i].bottom(), height) << i << " at " << dpi;
    for (std::size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(overlap(boxes[i], boxes[j])) << i << "/" << j;
  }
}

}  // namespace

TEST(WindowLayouts, EveryControlInsideTheClientAreaAndApartAtEachDpi) {
  for (const int dpi : {96, 120, 144, 192}) {
    const AboutLayout a = aboutLayout(dpi);
    expectLaidOut({a.picture, a.title, a.version, a.download, a.support, a.donationPicture, a.donation, a.ok},
                  a.clientWidth, a.clientHeight, dpi);
    const WelcomeLayout w = welcomeLayout(dpi);
    // The band is the background of its picture and text, so it is left out of the overlap test.
    expectLaidOut({w.picture, w.heading, w.explanation, w.illustration, w.donationPicture, w.donation, w.dontShowAgain,
                   w.ok},
                  w.clientWidth, w.clientHeight, dpi);
    EXPECT_TRUE(w.band.top <= w.donation.top && w.donation.bottom() <= w.band.bottom());
    // The illustration keeps its proportions: its stored pictures are 539 x 194 and twice that.
    EXPECT_NEAR(w.illustration.width * 194.0 / 539.0, w.illustration.height, 1.0);
  }
  EXPECT_EQ(aboutLayout(96).clientWidth, 373);
  EXPECT_EQ(aboutLayout(144).clientHeight, 437);  // 291 * 1.5, rounded
  EXPECT_EQ(welcomeLayout(144).illustration.width, 809);
}

TEST(WindowLayouts, StoredPictureSizeAndLinkMarkup) {
  const std::vector<int> icon{16, 20, 24, 32, 48, 256};
  EXPECT_EQ(storedSizeFor(icon, 48), 48);
  EXPECT_EQ(storedSizeFor(icon, 72), 256);  // 48 at 144 DPI: scaled down from the large one
  EXPECT_EQ(storedSizeFor(icon, 21), 24);
  EXPECT_EQ(storedSizeFor(icon, 300), 256);
  EXPECT_EQ(storedSizeFor({}, 16), 0);

  EXPECT_EQ(sysLinkMarkup("<link>检查更新</link>"), "<a>检查更新</a>");
  EXPECT_EQ(sysLinkMarkup("<b>Kelvane</b> 是免费软件, 请 <link>捐赠</link>"), "Kelvane 是免费软件, 请 <a>捐赠</a>");
  EXPECT_EQ(sysLinkMarkup("a < b <lin"), "a < b <lin");
}

// The history window as data: layout at two DPIs, the picture of an hour with a gap, an alert
// and a release, the pointed moment driven by keys and the mouse, and the texts it shows.
#include "history/history_view.h"
#include "history/history_window_place.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kelvane;

namespace {

constexpr std::int64_t kNow = 1'700'003'630;  // the open minute starts at 1'700'003'580
constexpr std::int64_t kTo = 1'700'003'640;
constexpr std::int64_t kFrom = kTo - 3600;

const auto kUtc = [](std::int64_t utc) { return utc; };
// Every character 8 pixels wide and 16 high.
const TextSize kTextSize = [](const std::string& text) { return ViewPoint{8 * static_cast<int>(text.size()), 16}; };

MinuteRecord minute(std::int64_t start, std::uint8_t least, std::uint8_t most, std::uint64_t phys) {
  return {start, 2, std::uint64_t{least} + most, least, most, phys, phys};
}

std::vector<DrawStep> stepsOf(const std::vector<DrawStep>& plan, DrawStep::Kind kind) {
  std::vector<DrawStep> found;
  std::copy_if(plan.begin(), plan.end(), std::back_inserter(found), [&](const DrawStep& s) { return s.kind == kind; });
  return found;
}

}  // namespace

TEST(HistoryView, LayoutScalesWithTheDpiAndDropsTheGrowersWhenNarrow) {
  const HistoryLayout at96 = layoutHistoryWindow(640, 360, 96);
  EXPECT_EQ(at96.rangeButtons[0], (ViewRect{8, 8, 72, 32}));
  EXPECT_EQ(at96.exportButton, (ViewRect{536, 8, 632, 32}));
  EXPECT_EQ(at96.growers, (ViewRect{412, 40, 632, 352}));
  EXPECT_EQ(at96.graph, (ViewRect{44, 40, 404, 316}));
  const ViewPoint size144 = defaultHistoryClientSize(144);
  const HistoryLayout at144 = layoutHistoryWindow(size144.x, size144.y, 144);
  EXPECT_EQ(size144.x, 960);
  EXPECT_EQ(at144.graph, (ViewRect{66, 60, 606, 474}));  // every edge at 1.5 times
  const HistoryLayout narrow = layoutHistoryWindow(400, 300, 96);
  EXPECT_EQ(narrow.growers.width(), 0);
  EXPECT_EQ(narrow.graph.right, 392);
}

TEST(HistoryView, AnHourWithAGapAnAlertAndAReleaseDrawnPointedAndTold) {
  HistoryView view;
  view.resize(640, 360, 96);  // a plot of 360 columns: ten seconds each
  view.choose(HistoryRange::Hour, kNow);
  ASSERT_EQ(view.from(), kFrom);
  std::vector<MinuteRecord> minutes = {minute(kFrom - 600, 1, 1, 1)};  // before the range
  for (std::int64_t m = 0; m < 60; ++m)
    if (m < 20 || m >= 30) minutes.push_back(minute(kFrom + 60 * m, 40, 60, 3ull << 30));
  for (MinuteRecord& m : minutes)
    if (m.start == kFrom + 60 * 54) m = minute(m.start, 80, 96, 7ull << 30);
  HistoryEvent alert{kFrom + 60 * 54 + 5, HistoryEventKind::Alert, 96};
  alert.top = {{"leaky.exe", 5ull << 30}, {"other.exe", 1ull << 30}};
  HistoryEvent release{kFrom + 60 * 54 + 8, HistoryEventKind::Release};
  release.source = ReleaseSource::Menu;
  release.availBefore = 1ull << 30;
  release.availAfter = (1ull << 30) + (512ull << 20);
  HistoryEvent tooOld{kFrom - 10, HistoryEventKind::Alert, 99};
  view.setData(minutes, std::vector<HistoryEvent>{tooOld, alert, release},
               {Grower{"C:\\Apps\\leaky.exe", 1, 1ull << 30, 3ull << 30}});

  HistoryLook look;
  look.yellowPercent = 75;
  look.redPercent = 90;
  const NumberFormat format;
  std::vector<std::string> growerLines;
  for (const Grower& grower : view.growers()) growerLines.push_back(growerLine(grower, format));
  EXPECT_EQ(growerLines, std::vector<std::string>{"+2 GB  leaky.exe"});
  const auto plan = view.picture(look, kUtc, {}, growerLines, kTextSize);

  // The graph spans y 40..315: a load of L is at 315 - L * 275 / 100, rounded half up.
  const auto fills = stepsOf(plan, DrawStep::Kind::Fill);
  const auto bandAt = [&](int x) -> const DrawStep* {
    for (const DrawStep& s : fills)
      if (s.rect.left == x && s.rect.right == x + 1) return &s;
    return nullptr;
  };
  ASSERT_NE(bandAt(44), nullptr);
  EXPECT_EQ(bandAt(44)->rect.top, 315 - 165);         // 60 %
  EXPECT_EQ(bandAt(44)->rect.bottom, 315 - 110 + 1);  // 40 %
  EXPECT_EQ(bandAt(44 + 6 * 25), nullptr);           // minute 25: nothing recorded
  ASSERT_NE(bandAt(44 + 6 * 54 + 1), nullptr);
  EXPECT_EQ(bandAt(44 + 6 * 54 + 1)->rect.top, 315 - 264);

  const auto lines = stepsOf(plan, DrawStep::Kind::Line);
  const auto across = [&](std::uint32_t colour) {
    return std::count_if(lines.begin(), lines.end(), [&](const DrawStep& s) {
      return s.color == colour && s.from.y == s.to.y && s.from.x == 44 && s.to.x == 403;
    });
  };
  EXPECT_EQ(across(look.yellow), 1);
  EXPECT_EQ(across(look.red), 1);
  // The mean line is broken by the gap: no segment reaches into minute 20..29.
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [&](const DrawStep& s) {
    return s.width == 2 && s.to.x >= 44 + 6 * 20 && s.to.x < 44 + 6 * 30;
  }));

  const auto marks = stepsOf(plan, DrawStep::Kind::Triangle);
  ASSERT_EQ(marks.size(), 2u);  // the one before the range is not drawn
  EXPECT_EQ(marks[0].color, look.red);
  EXPECT_EQ(marks[0].corners[0].x, 44 + 6 * 54);
  EXPECT_EQ(marks[1].color, look.release);

  const auto buttons = stepsOf(plan, DrawStep::Kind::Button);
  ASSERT_EQ(buttons.size(), 5u);
  EXPECT_TRUE(buttons[0].pressed);
  EXPECT_EQ(buttons[4].text, "导出 CSV...");

  // Left first points at the newest recorded moment; Right at the end stays there.
  EXPECT_EQ(view.key(HistoryKey::Right).kind, HistoryCommand::Kind::Redraw);
  EXPECT_EQ(view.pointedMoment()->to, kTo);
  EXPECT_EQ(view.key(HistoryKey::Right).kind, HistoryCommand::Kind::None);
  // The mouse on the alert's column, then Left and Right back to it.
  EXPECT_EQ(view.click({44 + 6 * 54, 100}).kind, HistoryCommand::Kind::Redraw);
  view.key(HistoryKey::Left);
  view.key(HistoryKey::Right);
  const auto moment = view.pointedMoment();
  ASSERT_TRUE(moment);
  EXPECT_EQ(moment->from, kFrom + 60 * 54);
  EXPECT_EQ(moment->to, kFrom + 60 * 54 + 10);
  EXPECT_EQ(momentLines(*moment, "18:05", format),
            (std::vector<std::string>{"18:05", "负载: 最低 80%, 平均 88.0%, 最高 96%", "已用物理内存: 7 GB",
                                      "警报: 负载 96%", "    leaky.exe  5 GB", "    other.exe  1024 MB",
                                      "释放内存 (菜单): 已释放 512 MB"}));
  EXPECT_EQ(view.key(HistoryKey::CopyKey).kind, HistoryCommand::Kind::Copy);

  // The moment's text is drawn inside the plot, left of the line when it would not fit right.
  const auto told = view.picture(look, kUtc, {"18:05", "负载"}, growerLines, kTextSize);
  const auto texts = stepsOf(told, DrawStep::Kind::Text);
  const auto timeText = std::find_if(texts.begin(), texts.end(), [](const DrawStep& s) { return s.text == "18:05"; });
  ASSERT_NE(timeText, texts.end());
  EXPECT_LT(timeText->rect.right, 44 + 6 * 54);
  EXPECT_GE(timeText->rect.left, 44);

  // A gap's moment says so.
  view.click({44 + 6 * 25, 100});
  EXPECT_EQ(momentLines(*view.pointedMoment(), "t", format), (std::vector<std::string>{"t", "没有记录"}));
  EXPECT_TRUE(view.leave());  // the pointer left the window
  EXPECT_FALSE(view.pointedMoment());

  // The same gap after the program was ended, and started again after it: not running, shaded.
  const std::vector<HistoryEvent> stopAndStart = {{kFrom + 60 * 20, HistoryEventKind::Exit},
                                                  {kFrom + 60 * 30 + 1, HistoryEventKind::Start}};
  view.setData(minutes, stopAndStart, {});
  view.click({44 + 6 * 25, 100});
  EXPECT_EQ(momentLines(*view.pointedMoment(), "t", format), (std::vector<std::string>{"t", "Kelvane 没有运行"}));
  const auto shaded = stepsOf(view.picture(look, kUtc, {}, {}, kTextSize), DrawStep::Kind::Fill);
  const auto shadedAt = [&](int x) {
    return std::any_of(shaded.begin(), shaded.end(), [&](const DrawStep& s) {
      return s.rect == ViewRect{x, 40, x + 1, 316} && s.color == look.face;
    });
  };
  EXPECT_TRUE(shadedAt(44 + 6 * 20));
  EXPECT_TRUE(shadedAt(44 + 6 * 30 - 1));
  EXPECT_FALSE(shadedAt(44 + 6 * 20 - 1));  // recorded

  // Keys and buttons that change the window.
  EXPECT_EQ(view.key(HistoryKey::Digit4).range, HistoryRange::Month);
  EXPECT_EQ(view.key(HistoryKey::Escape).kind, HistoryCommand::Kind::Close);
  const HistoryCommand chosen = view.click({80, 10});
  EXPECT_EQ(chosen.kind, HistoryCommand::Kind::ChooseRange);
  EXPECT_EQ(chosen.range, HistoryRange::Day);
  EXPECT_EQ(view.click({600, 10}).kind, HistoryCommand::Kind::Export);
  view.choose(HistoryRange::Month, kNow);
  EXPECT_FALSE(view.pointedMoment());
  EXPECT_EQ(historyRangeOf(7), HistoryRange::Day);
}

// A mark under the plot answers the pointer on its triangle and 3 pixels round it (scaled at 144
// DPI), pointing at its own column so the moment tells its event; where an alert's area and a
// release's overlap, the nearer centre wins.
TEST(HistoryView, AMarkAnswersOnItselfAndThreePixelsRoundItTheNearerCentreWinning) {
  for (const int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    HistoryView view;
    const ViewPoint client = defaultHistoryClientSize(dpi);
    view.resize(client.x, client.y, dpi);
    view.choose(HistoryRange::Hour, kNow);
    const ViewRect& graph = view.layout().graph;
    const auto columns = static_cast<std::size_t>(graph.width());
    // An alert, and a release four columns after it.
    const std::int64_t alertTime = kFrom + 1000;
    const std::size_t alertColumn = columnOf(alertTime, kFrom, kTo, columns);
    std::int64_t releaseTime = alertTime;
    while (columnOf(releaseTime, kFrom, kTo, columns) < alertColumn + 4) ++releaseTime;
    HistoryEvent release{releaseTime, HistoryEventKind::Release};
    view.setData(std::vector<MinuteRecord>{minute(kFrom, 1, 1, 1)},
                 std::vector<HistoryEvent>{{alertTime, HistoryEventKind::Alert, 95}, release}, {});

    const int x = graph.left + static_cast<int>(alertColumn);
    const int half = scaleToDpi(5, dpi), reach = scaleToDpi(3, dpi);
    const int alertTop = graph.bottom + scaleToDpi(2, dpi);  // the upper row of marks
    const int middle = alertTop + half / 2;
    const auto pointed = [&](int px, int py) -> std::optional<std::size_t> {
      view.leave();
      view.pointAt({px, py});
      const auto moment = view.pointedMoment();
      if (!moment) return std::nullopt;
      return columnOf(moment->to - 1, kFrom, kTo, columns);
    };
    EXPECT_EQ(pointed(x, middle), alertColumn);
    EXPECT_EQ(pointed(x - half - reach, middle), alertColumn);
    EXPECT_EQ(pointed(x - half - reach - 1, middle), std::nullopt);
    view.leave();
    view.pointAt({x - half - reach, middle});
    ASSERT_TRUE(view.pointedMoment());
    EXPECT_EQ(view.pointedMoment()->events.size(), 1u);
    EXPECT_EQ(view.pointedMoment()->events[0].kind, HistoryEventKind::Alert);

    // Between the two: the alert's area and the release's (a row lower, four columns on) overlap.
    const int releaseTop = alertTop + half + scaleToDpi(2, dpi);
    EXPECT_EQ(pointed(x + 2, alertTop + half), alertColumn);  // nearer the alert's centre
    EXPECT_EQ(pointed(x + 3, releaseTop), alertColumn + 4);   // nearer the release's
    EXPECT_EQ(pointed(x + 4 + half + reach, releaseTop + half), alertColumn + 4);
    EXPECT_EQ(pointed(x + 4 + half + reach + 1, releaseTop + half), std::nullopt);
  }
}

// The list of growers keeps its place while the plot beside it is at least 320 x 160 (96 DPI,
// scaled): the plot shrinks first; below that a line under the plot says the list is not shown.
TEST(HistoryView, ThePlotShrinksForTheGrowersDownToItsLeastThenALineSaysTheWindowIsTooSmall) {
  struct Case {
    int dpi, width, height;
    bool list;
  };
  // The least plot, a margin and the list (220 at 96 DPI) beside it, the margins and load axis.
  for (const Case& c : {Case{96, 600, 360, true}, Case{96, 599, 360, false}, Case{96, 640, 244, true},
                        Case{96, 640, 243, false}, Case{144, 900, 540, true}, Case{144, 899, 540, false},
                        Case{144, 960, 366, true}, Case{144, 960, 365, false}}) {
    SCOPED_TRACE(std::to_string(c.dpi) + " DPI, " + std::to_string(c.width) + " x " + std::to_string(c.height));
    HistoryView view;
    view.resize(c.width, c.height, c.dpi);  // texts within the design sizes
    view.choose(HistoryRange::Hour, kNow);
    const HistoryLayout& layout = view.layout();
    const ViewPoint least = leastPlotWithGrowers(c.dpi);
    const int margin = scaleToDpi(8, c.dpi);
    std::vector<std::string> texts;
    for (const DrawStep& step : stepsOf(view.picture(HistoryLook(), kUtc, {}, {}, kTextSize), DrawStep::Kind::Text))
      texts.push_back(step.text);
    const bool saysTooSmall = std::count(texts.begin(), texts.end(), "窗口太小, 未显示增长最多的进程") == 1;
    const bool showsList = std::count(texts.begin(), texts.end(), "增长最多的进程") == 1;
    EXPECT_EQ(showsList, c.list);
    EXPECT_EQ(saysTooSmall, !c.list);
    if (c.list) {
      EXPECT_EQ(layout.growers.width(), scaleToDpi(220, c.dpi));
      EXPECT_GE(layout.graph.width(), least.x);
      EXPECT_GE(layout.graph.height(), least.y);
      EXPECT_TRUE(layout.graph.width() == least.x || layout.graph.height() == least.y);  // at the edge
      EXPECT_EQ(layout.tooSmall.width(), 0);
    } else {
      EXPECT_EQ(layout.growers.width(), 0);
      EXPECT_EQ(layout.graph.right, c.width - margin);  // the plot takes the list's room
      // The line is under the time axis, inside the window.
      EXPECT_GE(layout.tooSmall.top, layout.timeAxis.bottom);
      EXPECT_EQ(layout.tooSmall.bottom, c.height - margin);
      EXPECT_EQ(layout.tooSmall.height(), scaleToDpi(16, c.dpi));
    }
  }
}

// A size kept at one DPI opens at another scaled by their ratio, inside the work area.
TEST(HistoryWindowPlace, AKeptSizeIsScaledByTheDpiNowOverTheDpiItWasKeptAtWithinTheWorkArea) {
  const ViewRect work{0, 0, 1024, 740};
  HistoryWindowPlace place;
  place.left = 40;
  place.top = 50;
  place.width = 700;
  place.height = 420;
  const ViewPoint standard{656, 399};
  EXPECT_EQ(historyWindowFrame(place, 96, standard, work), (ViewRect{40, 50, 740, 470}));  // as it always was
  // Kept at 96, opened at 144: 1,050 x 630, cut to the work area's width and moved into it.
  EXPECT_EQ(historyWindowFrame(place, 144, standard, work), (ViewRect{0, 50, 1024, 680}));
  // Kept at 144, opened at 96: two thirds.
  place.dpi = 144;
  EXPECT_EQ(historyWindowFrame(place, 96, standard, work), (ViewRect{40, 50, 40 + 467, 50 + 280}));
  EXPECT_EQ(historyWindowFrame(place, 144, standard, work), (ViewRect{40, 50, 740, 470}));
  // A place off the work area (a monitor since removed) comes back into it.
  place.left = 3000;
  place.top = -500;
  EXPECT_EQ(historyWindowFrame(place, 144, standard, work), (ViewRect{324, 0, 1024, 420}));
  // Nothing kept: the standard size, centred.
  EXPECT_EQ(historyWindowFrame(HistoryWindowPlace{}, 96, standard, work), (ViewRect{184, 170, 840, 569}));
}

#include "settings/options.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(Options, DefaultsOfAFreshInstallation) {
  const TKelvaneOptions xp = defaultOptions(5);
  const TKelvaneOptions win10 = defaultOptions(10);
  EXPECT_TRUE(xp.ShowPage);
  EXPECT_FALSE(win10.ShowPage);
  EXPECT_FALSE(defaultOptions(6).ShowPage);
  const TKelvaneOptions& o = win10;
  EXPECT_TRUE(o.Warn);
  EXPECT_EQ(o.YellowPercent, 65);
  EXPECT_EQ(o.RedPercent, 90);
  EXPECT_EQ(o.RefreshRate, 1000);
  EXPECT_EQ(o.TopProcessCount, 10);
  EXPECT_EQ(o.DefragEvery, 120);
  EXPECT_EQ(o.HighlightProcessAbove, 1000);
  EXPECT_EQ(o.RefreshHotkey, 0);
  EXPECT_TRUE(o.NoBorder && o.InternalFont && o.HintWhatisDisplayed && o.StandardGauge);
  EXPECT_TRUE(o.ShowTopProcess && o.ShowMemMenu && o.OptimizeForGigabytes && o.DefragOnHighMemory);
  EXPECT_TRUE(o.UnifyProcesses && o.ShowWelcomeWindow);
  EXPECT_FALSE(o.WarnMsgBox || o.WriteLog || o.TransBk || o.FullBar || o.MiniInternalFont);
  EXPECT_EQ(o.Font.Name, "Tahoma");
  EXPECT_EQ(o.Font.Size, 6);
  EXPECT_EQ(o.Font.CharSet, 1);
  EXPECT_EQ(o.Font.Color, -16777208);
  EXPECT_EQ(o.Font.Style, 0);
  EXPECT_EQ(o.GreenColor, clAutomatic);
}

TEST(Options, EffectiveColorFallsBackPerSlot) {
  TKelvaneOptions o = defaultOptions(10);
  EXPECT_EQ(EffectiveColor(o, ColorSlot::OpaqueBkColor), 0xFFFFFF);
  EXPECT_EQ(EffectiveColor(o, ColorSlot::BarBorderColor), static_cast<TColor>(0xFF000010u));
  EXPECT_EQ(EffectiveColor(o, ColorSlot::FullBarColor), static_cast<TColor>(0xFF000010u));
  EXPECT_EQ(EffectiveColor(o, ColorSlot::GreenColor), 0x00FF00);
  EXPECT_EQ(EffectiveColor(o, ColorSlot::YellowColor), 0x00FFFF);
  EXPECT_EQ(EffectiveColor(o, ColorSlot::RedColor), 0x0000FF);
  EXPECT_EQ(EffectiveColor(o, ColorSlot::ProcMenuHightlightColor), 0xE1E1FB);
  o.GreenColor = 0x123456;
  EXPECT_EQ(EffectiveColor(o, ColorSlot::GreenColor), 0x123456);
  EXPECT_EQ(EffectiveColor(o, ColorSlot::GreenColor, true), 0x00FF00);
  EXPECT_EQ(EffectiveColor(o, ColorSlot::FontColor, true), clBlack);
}

TEST(Options, AutomaticFontColorIsStoredAsBlack) {
  TKelvaneOptions o = defaultOptions(10);
  o.FontColor = clAutomatic;
  ApplyFontColor(o);
  EXPECT_EQ(o.Font.Color, clBlack);
  o.FontColor = 0x0000FF;
  ApplyFontColor(o);
  EXPECT_EQ(o.Font.Color, 0x0000FF);
  o.FontColor = systemColor(8);
  ApplyFontColor(o);
  EXPECT_EQ(o.Font.Color, -16777208);
}

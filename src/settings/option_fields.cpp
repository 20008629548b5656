#include "settings/option_fields.h"

#include <array>
#include <cstring>

#include "settings/settings_codec.h"

namespace kelvane {

namespace {

using O = TKelvaneOptions;

constexpr OptionField B(const char* key, bool O::*m) { return {key, FieldType::Boolean, m}; }
constexpr OptionField I(const char* key, std::int32_t O::*m) {
  return {key, FieldType::Integer, nullptr, m};
}
constexpr OptionField C(const char* key, TColor O::*m) {
  return {key, FieldType::Color, nullptr, nullptr, m};
}

const std::array kFields = {
    B("Warn", &O::Warn),
    B("ShowPage", &O::ShowPage),
    B("ShowFree", &O::ShowFree),
    B("ShowPercentage", &O::ShowPercentage),
    I("YellowPercent", &O::YellowPercent),
    I("RedPercent", &O::RedPercent),
    B("NoBorder", &O::NoBorder),
    OptionField{"Font", FieldType::Font, nullptr, nullptr, nullptr, nullptr, &O::Font},
    B("ShowPercSign", &O::ShowPercSign),
    B("InternalFont", &O::InternalFont),
    B("TransBk", &O::TransBk),
    B("BarBottom", &O::BarBottom),
    B("HintWhatisDisplayed", &O::HintWhatisDisplayed),
    B("StandardGauge", &O::StandardGauge),
    C("FontColor", &O::FontColor),
    C("OpaqueBkColor", &O::OpaqueBkColor),
    C("BarBorderColor", &O::BarBorderColor),
    C("GreenColor", &O::GreenColor),
    C("YellowColor", &O::YellowColor),
    C("RedColor", &O::RedColor),
    B("MiniInternalFont", &O::MiniInternalFont),
    I("RefreshRate", &O::RefreshRate),
    B("FullBar", &O::FullBar),
    C("FullBarColor", &O::FullBarColor),
    I("RefreshHotkey", &O::RefreshHotkey),
    B("ShowTopProcess", &O::ShowTopProcess),
    I("TopProcessCount", &O::TopProcessCount),
    B("ShowMemMenu", &O::ShowMemMenu),
    B("OptimizeForGigabytes", &O::OptimizeForGigabytes),
    B("DefragOnHighMemory", &O::DefragOnHighMemory),
    B("DefragEveryActive", &O::DefragEveryActive),
    I("DefragEvery", &O::DefragEvery),
    I("DoubleClickAction", &O::DoubleClickAction),
    B("SwitchOffMonitorOnLock", &O::SwitchOffMonitorOnLock),
    B("WarnMsgBox", &O::WarnMsgBox),
    I("HighlightProcessAbove", &O::HighlightProcessAbove),
    C("ProcMenuHightlightColor", &O::ProcMenuHightlightColor),
    B("ClickedDonation", &O::ClickedDonation),
    B("NoWarningSwithOffMonMobile", &O::NoWarningSwithOffMonMobile),
    B("ShowNameInsteadOfModule", &O::ShowNameInsteadOfModule),
    I("ProcessValueType", &O::ProcessValueType),
    B("UnifyProcesses", &O::UnifyProcesses),
    B("ShowWelcomeWindow", &O::ShowWelcomeWindow),
    B("WriteLog", &O::WriteLog),
    OptionField{"LogFile", FieldType::String, nullptr, nullptr, nullptr, &O::LogFile},
    OptionField{"FollowTaskbarTheme", FieldType::Boolean, &O::FollowTaskbarTheme, nullptr, nullptr, nullptr,
                nullptr, FieldWrite::WhenSetOrPresent},
};
static_assert(kFields.size() == 46);

}  // namespace

const OptionField* optionFieldsBegin() { return kFields.data(); }
const OptionField* optionFieldsEnd() { return kFields.data() + kFields.size(); }

const OptionField* findOptionField(const std::string& key) {
  for (const auto& field : kFields)
    if (key == field.key) return &field;
  return nullptr;
}

bool fieldWritten(const OptionField& field, const TKelvaneOptions& options, const IniDocument& file) {
  if (field.write == FieldWrite::Always) return true;
  return options.*field.boolean || file.get(kSectionGeneral, field.key).has_value();
}

std::string dumpOptions(const TKelvaneOptions& options, const IniDocument& file) {
  std::string out;
  auto line = [&](const std::string& key, const std::string& value) {
    out += key + "=" + value + "\n";
  };
  for (const auto& f : kFields) {
    if (!fieldWritten(f, options, file)) continue;
    switch (f.type) {
      case FieldType::Boolean: line(f.key, options.*f.boolean ? "1" : "0"); break;
      case FieldType::Integer: line(f.key, std::to_string(options.*f.integer)); break;
      case FieldType::Color: line(f.key, std::to_string(options.*f.color)); break;
      case FieldType::String: line(f.key, options.*f.text); break;
      case FieldType::Font: {
        const TFontSpec& font = options.*f.font;
        line("Font.Name", font.Name);
        line("Font.CharSet", std::to_string(font.CharSet));
        line("Font.Color", std::to_string(font.Color));
        line("Font.Size", std::to_string(font.Size));
        line("Font.Style", std::to_string(font.Style));
        break;
      }
    }
  }
  return out;
}

}  // namespace kelvane

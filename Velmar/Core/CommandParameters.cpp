#include "Velmar/Core/CommandParameters.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "Velmar/Generators/GenerateLp.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace Ostra::Velmar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

NumberField Field(std::string label, double value) { return {std::move(label), value, {}}; }

} // namespace

std::optional<double> ParseDialogNumber(std::string_view text) {
  text = Trim(text);
  // from_chars takes no leading '+'; people type one.
  if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
    text.remove_prefix(1);
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string FormatDialogNumber(double value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 15);
  return std::string(buffer.data(), result.ptr);
}

std::string AcceptFieldTexts(ParameterRequest& request, const std::vector<std::string>& texts) {
  std::vector<double> values;
  for (std::size_t k = 0; k < request.Fields.size(); ++k) {
    const NumberField& field = request.Fields[k];
    const std::optional<double> value =
        k < texts.size() ? ParseDialogNumber(texts[k]) : std::optional<double>();
    if (!value)
      return "Please enter a number for \"" + field.Label + "\", with a point as its decimal mark.";
    if (field.Check) {
      std::string complaint = field.Check(*value);
      if (!complaint.empty())
        return complaint;
    }
    values.push_back(*value);
  }
  for (std::size_t k = 0; k < values.size(); ++k)
    request.Fields[k].Value = values[k];
  return {};
}

ParameterRequest ValueRequest() { return {"Value", {Field("Value", 0.0)}}; }

ParameterRequest AdjustRequest() { return {"Adjust", {Field("Adjust by", 0.0)}}; }

ParameterRequest ScaleRequest() {
  return {"Scale", {Field("Beginning Scale Factor", 1.0), Field("Ending Scale Factor", 1.0)}};
}

ParameterRequest GenerateCurveRequest(const std::string& lpBaseName) {
  NumberField tolerance = Field("Tolerance", CurveToleranceFor(lpBaseName));
  tolerance.Check = CheckCurveTolerance;
  return {"Generate Curve", {tolerance}};
}

std::string CheckCurveTolerance(double tolerance) {
  if (tolerance <= MaximumCurveTolerance)
    return {};
  return "The tolerance must be at most " + FormatDialogNumber(MaximumCurveTolerance) + " metres.";
}

ParameterRequest GenerateLapRequest(const std::string& curveBaseName) {
  NumberField grip = Field("Grip", LpGripFor(curveBaseName));
  grip.Check = CheckGrip;
  return {"Generate Lap", {grip}};
}

std::string CheckGrip(double grip) {
  if (std::isfinite(grip) && grip > 0.0 && grip <= MaximumGrip)
    return {};
  return "The grip must be greater than 0 and at most " + FormatDialogNumber(MaximumGrip) + ".";
}

} // namespace Ostra::Velmar

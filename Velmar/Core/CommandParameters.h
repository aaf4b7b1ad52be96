#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the parameter dialogs ask for, without a window: numbered text fields read and
// shown in the C locale whatever the desktop's language. A dialog stays open until
// every field holds an acceptable number.
namespace Ostra::Velmar {

// A decimal number and nothing else, blanks around it allowed, '.' as the decimal
// point ("1.5", " -2e3 "); nothing for other text, a comma decimal, or a value that is
// not finite or lies beyond the range of a double.
std::optional<double> ParseDialogNumber(std::string_view text);
// 15 significant digits, '.' as the decimal point, no trailing zeros ("0.5", "1").
std::string FormatDialogNumber(double value);

struct NumberField {
  std::string Label;
  double Value = 0.0;
  // The complaint about an unacceptable value; empty when it is fine.
  std::function<std::string(double)> Check;
};

struct ParameterRequest {
  std::string Title;
  std::vector<NumberField> Fields;
};

// Takes one text per field. On success sets every field's Value and returns empty;
// otherwise returns the message about the first unacceptable field and changes
// nothing.
std::string AcceptFieldTexts(ParameterRequest& request, const std::vector<std::string>& texts);

// The parameter dialogs, their titles, labels and defaults.
ParameterRequest ValueRequest();  // "Value": Value 0
ParameterRequest AdjustRequest(); // "Adjust": Adjust by 0
ParameterRequest ScaleRequest();  // "Scale": Beginning and Ending Scale Factor 1
// "Generate Curve": Tolerance, 0.5, or 0.1 for the race-line curves; a tolerance must
// be at most MaximumCurveTolerance.
ParameterRequest GenerateCurveRequest(const std::string& lpBaseName);
// "Generate Lap": Grip, 1.0, or 0.25 for the race-line curves; a grip must be above 0
// and at most MaximumGrip.
ParameterRequest GenerateLapRequest(const std::string& curveBaseName);

// Wider than any track: a curve allowed to stray further would leave it, and one
// allowed to stray across a whole lap cannot be fitted in pieces at all.
inline constexpr double MaximumCurveTolerance = 100.0;
// Empty when the tolerance is acceptable; negative ones are (one piece per record).
std::string CheckCurveTolerance(double tolerance);

// More than any tyre gives: beyond it the speeds stop meaning anything.
inline constexpr double MaximumGrip = 10.0;
// Empty when the grip is acceptable.
std::string CheckGrip(double grip);

} // namespace Ostra::Velmar

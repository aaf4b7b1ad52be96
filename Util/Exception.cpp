#include "Util/Exception.h"

#include <locale>
#include <sstream>
#include <system_error>

namespace Ostra::Util {

namespace {
std::ostringstream MakeStream() {
  std::ostringstream out;
  // Line numbers must never be grouped ("1,234") whatever the global locale.
  out.imbue(std::locale::classic());
  return out;
}
} // namespace

XAssertion::XAssertion(const char* expression, const char* file, int line)
    : Expression(expression), File(file), Line(line) {}

std::string XAssertion::What() const {
  auto out = MakeStream();
  out << "Assertion failure at " << File << ": " << Line << '\n' << Expression << '\n';
  return out.str();
}

XUsage::XUsage(const std::string& message) : Message(message) {}

std::string XUsage::What() const { return Message; }

XFileOpen::XFileOpen(const std::string& fileName, const std::string& systemMessage)
    : FileName(fileName), SystemMessage(systemMessage) {}

std::string XFileOpen::What() const {
  return "Couldn't open " + FileName + "\n" + SystemMessage + "\n";
}

XFileRead::XFileRead(const std::string& fileName) : FileName(fileName) {}

std::string XFileRead::What() const { return "Couldn't read from " + FileName + "\n"; }

XFileWrite::XFileWrite(const std::string& fileName, const std::string& systemMessage)
    : FileName(fileName), SystemMessage(systemMessage) {}

std::string XFileWrite::What() const {
  const std::string text = "Couldn't write to " + FileName + "\n";
  return SystemMessage.empty() ? text : text + SystemMessage + "\n";
}

XFileSeek::XFileSeek(const std::string& fileName) : FileName(fileName) {}

std::string XFileSeek::What() const { return "Couldn't seek in " + FileName + "\n"; }

XFileFormat::XFileFormat(const std::string& fileName, const std::string& message)
    : FileName(fileName), Message(message) {}

std::string XFileFormat::What() const {
  return "A possible error was found in file " + FileName + "\n" + Message + "\n";
}

void FailAssertion(const char* expression, const char* file, int line) {
  throw XAssertion(expression, file, line);
}

std::string SystemErrorText(int error) { return std::system_category().message(error); }

} // namespace Ostra::Util

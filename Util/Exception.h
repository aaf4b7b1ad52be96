#pragma once

#include <string>

namespace Ostra::Util {

// Root of every error the libraries report. Deliberately not a std::exception:
// user-interface handlers catch this family and std::exception separately.
class Exception {
public:
  virtual ~Exception() = default;
  virtual std::string What() const = 0;
};

class LogicError : public Exception {};

class RuntimeError : public Exception {};

// A broken internal invariant. Expression and File point at string literals that
// live for the whole run.
class XAssertion : public LogicError {
public:
  XAssertion(const char* expression, const char* file, int line);
  std::string What() const override;

  const char* Expression;
  const char* File;
  int Line;
};

// A failure whose message is already complete and is shown unchanged.
class XUsage : public RuntimeError {
public:
  explicit XUsage(const std::string& message);
  std::string What() const override;

  std::string Message;
};

class XFileOpen : public RuntimeError {
public:
  XFileOpen(const std::string& fileName, const std::string& systemMessage);
  std::string What() const override;

  std::string FileName;
  std::string SystemMessage;
};

class XFileRead : public RuntimeError {
public:
  explicit XFileRead(const std::string& fileName);
  std::string What() const override;

  std::string FileName;
};

// With the system's text when the system refused (a full disk, a read-only file):
// "Couldn't write to <name>", a newline, and that text on its own line.
class XFileWrite : public RuntimeError {
public:
  explicit XFileWrite(const std::string& fileName, const std::string& systemMessage = {});
  std::string What() const override;

  std::string FileName;
  std::string SystemMessage;
};

class XFileSeek : public RuntimeError {
public:
  explicit XFileSeek(const std::string& fileName);
  std::string What() const override;

  std::string FileName;
};

// The content of a file breaks its format. Message names the game, the file kind
// and the field, e.g. "GPL trk file version not 3000".
class XFileFormat : public RuntimeError {
public:
  XFileFormat(const std::string& fileName, const std::string& message);
  std::string What() const override;

  std::string FileName;
  std::string Message;
};

// Throws XAssertion(expression, file, line).
[[noreturn]] void FailAssertion(const char* expression, const char* file, int line);

// The system's one-line text for an errno value.
std::string SystemErrorText(int error);

} // namespace Ostra::Util

// Always compiled in, shipped builds included. Variadic so that template argument
// commas need no extra parentheses; the text is the condition as written.
#define UTIL_ASSERT(...)                                                                           \
  do {                                                                                             \
    if (!(__VA_ARGS__))                                                                            \
      ::Ostra::Util::FailAssertion(#__VA_ARGS__, __FILE__, __LINE__);                              \
  } while (false)

// For the few assertions whose user-visible text must differ from our expression.
#define UTIL_ASSERT_TEXT(condition, text)                                                          \
  do {                                                                                             \
    if (!(condition))                                                                              \
      ::Ostra::Util::FailAssertion(text, __FILE__, __LINE__);                                      \
  } while (false)

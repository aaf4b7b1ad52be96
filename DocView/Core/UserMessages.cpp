#include "DocView/Core/UserMessages.h"

#include <cstdio>
#include <exception>

#include "Util/Exception.h"

namespace Ostra::DocView {

namespace {
class StandardErrorMessages : public UserMessages {
public:
  void Show(const std::string& text, MessageParent) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  QuestionAnswer Ask(const std::string& text, MessageParent) override {
    std::fprintf(stderr, "%s (answered No)\n", text.c_str());
    return QuestionAnswer::No;
  }
  QuestionAnswer AskYesNoCancel(const std::string& text, MessageParent) override {
    std::fprintf(stderr, "%s (answered Cancel)\n", text.c_str());
    return QuestionAnswer::Cancel;
  }
};

UserMessages*& InstalledSink() {
  static UserMessages* sink = nullptr;
  return sink;
}
} // namespace

QuestionAnswer UserMessages::AskYesNoCancel(const std::string&, MessageParent) { return QuestionAnswer::Cancel; }

UserMessages& GetUserMessages() {
  static StandardErrorMessages fallback;
  UserMessages* sink = InstalledSink();
  return sink != nullptr ? *sink : fallback;
}

UserMessages* SetUserMessages(UserMessages* sink) {
  UserMessages* previous = InstalledSink();
  InstalledSink() = sink;
  return previous;
}

std::string SaveChangesQuestion(const std::string& documentName) {
  return "Do you want to save changes to " + documentName + "?";
}

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const Util::Exception& e) {
    return e.What();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return UnknownExceptionText;
  }
}

bool RunGuarded(const std::function<void()>& work, UserMessages& sink, MessageParent parent) {
  try {
    work();
    return true;
  } catch (...) {
    sink.Show(CurrentExceptionText(), parent);
    return false;
  }
}

bool RunGuarded(const std::function<void()>& work, MessageParent parent) {
  return RunGuarded(work, GetUserMessages(), parent);
}

} // namespace Ostra::DocView

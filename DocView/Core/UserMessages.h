#pragma once

#include <functional>
#include <string>

// How the editor tells the user something: the window layer installs a sink that shows
// message boxes; tests install one that records. Nothing here knows about windows.
namespace Ostra::DocView {

enum class MessageParent {
  MainWindow, // a document speaking (open, save, commands on the whole document)
  View        // a view speaking; the sink shows it over the active view
};

enum class QuestionAnswer { Yes, No, Cancel };

class UserMessages {
public:
  virtual ~UserMessages() = default;
  // An OK box with the application's title as caption.
  virtual void Show(const std::string& text, MessageParent parent) = 0;
  // A Yes/No question; No is the safe answer.
  virtual QuestionAnswer Ask(const std::string& text, MessageParent parent) = 0;
  // A Yes/No/Cancel question; Cancel is the safe answer, and the one given by a sink
  // that cannot ask, so that nothing is written or discarded unasked.
  virtual QuestionAnswer AskYesNoCancel(const std::string& text, MessageParent parent);
};

// The sink in force. Without one installed, messages go to standard error and questions
// are answered No, so nothing is ever discarded unasked.
UserMessages& GetUserMessages();
// Installs a sink (not owned); null restores the default. Returns the previous one.
UserMessages* SetUserMessages(UserMessages* sink);

inline constexpr const char* UnknownExceptionText = "Caught an unknown exception.";
// Kept for the vocabulary; the toolkit throws no exceptions of its own.
inline constexpr const char* ToolkitExceptionText = "Caught an MFC exception.";

// Runs work at the user-interface boundary: Ostra::Util::Exception (its What text),
// std::exception (its what text) and anything else ("Caught an unknown exception.") are
// shown through the sink. True when work returned normally.
bool RunGuarded(const std::function<void()>& work, MessageParent parent = MessageParent::MainWindow);
bool RunGuarded(const std::function<void()>& work, UserMessages& sink, MessageParent parent);

// The question asked before a document with unsaved changes closes.
std::string SaveChangesQuestion(const std::string& documentName);

// The text the boundary would show for the exception in flight; call inside a catch.
std::string CurrentExceptionText();

} // namespace Ostra::DocView

#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "DocView/Core/UserMessages.h"
#include "Velmar/App/Dialogs.h"

// Stand-ins for the user in the command flows: the answers to parameter dialogs, save
// dialogs and questions are queued beforehand, and what the user would have seen is
// kept. Both install themselves for their lifetime.
namespace Ostra::Velmar::CommandsTest {

class ScriptedPrompts : public ICommandPrompts {
public:
  // Sets the request's values (or leaves them) and answers OK, or answers Cancel.
  using ParameterAnswer = std::function<bool(ParameterRequest&)>;

  ScriptedPrompts() : Previous(SetCommandPrompts(this)) {}
  ~ScriptedPrompts() override { SetCommandPrompts(Previous); }

  // OK with these values for the fields, in order; none keeps the defaults.
  void AnswerOk(std::vector<double> values = {}) {
    Parameters.push_back([values](ParameterRequest& request) {
      for (std::size_t k = 0; k < values.size(); ++k)
        request.Fields.at(k).Value = values[k];
      return true;
    });
  }
  void AnswerCancel() {
    Parameters.push_back([](ParameterRequest&) { return false; });
  }
  // Empty: Cancel.
  void AnswerSave(std::string path) { SavePaths.push_back(std::move(path)); }

  bool AskParameters(ParameterRequest& request, wxWindow*) override {
    Asked.push_back(request);
    if (Parameters.empty())
      return false;
    const ParameterAnswer answer = Parameters.front();
    Parameters.pop_front();
    return answer(request);
  }
  std::string AskSavePath(const SaveFileRequest& request, wxWindow*) override {
    SaveRequests.push_back(request);
    if (SavePaths.empty())
      return {};
    std::string path = SavePaths.front();
    SavePaths.pop_front();
    return path;
  }

  std::deque<ParameterAnswer> Parameters;
  std::deque<std::string> SavePaths;
  // What was asked, with the defaults it showed.
  std::vector<ParameterRequest> Asked;
  std::vector<SaveFileRequest> SaveRequests;

private:
  ICommandPrompts* Previous;
};

class RecordedMessages : public DocView::UserMessages {
public:
  RecordedMessages() : Previous(DocView::SetUserMessages(this)) {}
  ~RecordedMessages() override { DocView::SetUserMessages(Previous); }

  void Show(const std::string& text, DocView::MessageParent) override { Shown.push_back(text); }
  DocView::QuestionAnswer Ask(const std::string& text, DocView::MessageParent) override {
    Questions.push_back(text);
    if (Answers.empty())
      return DocView::QuestionAnswer::No;
    const DocView::QuestionAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  std::vector<std::string> Shown;
  std::vector<std::string> Questions;
  std::deque<DocView::QuestionAnswer> Answers;

private:
  DocView::UserMessages* Previous;
};

} // namespace Ostra::Velmar::CommandsTest

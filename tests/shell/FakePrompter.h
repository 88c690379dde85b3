#pragma once
// A Prompter for tests: records every message and question and answers questions from a queue.

#include <deque>
#include <functional>
#include <vector>

#include "shell/app/Prompter.h"

namespace vlt::test {

struct Prompt {
    QString caption;
    QString text;
    MessageIcon icon;
    bool question;
    QWidget* parent = nullptr;  // the window the box would belong to
};

class FakePrompter : public Prompter {
  public:
    // Answers to questions, in order; an unscripted question is answered No.
    std::deque<bool> answers;
    std::vector<Prompt> prompts;
    // Called as each message or question is shown, to look at the windows while the box would
    // be up.
    std::function<void(const Prompt&)> onPrompt;

    void message(QWidget* parent, const QString& caption, const QString& text,
                 MessageIcon icon) override {
        prompts.push_back({caption, text, icon, false, parent});
        if (onPrompt) {
            onPrompt(prompts.back());
        }
    }
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text,
                  MessageIcon icon) override {
        prompts.push_back({caption, text, icon, true, parent});
        if (onPrompt) {
            onPrompt(prompts.back());
        }
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace vlt::test

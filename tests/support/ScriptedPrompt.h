#pragma once

// Answers a UserPrompt from a queue that the test fills beforehand. A question the test did not
// expect, or of another kind than the next answer, fails the test loudly; so do answers left
// over when the object goes away.

#include "UserPrompt.h"

#include <gtest/gtest.h>

#include <deque>
#include <variant>

class ScriptedPrompt : public UserPrompt {
public:
    struct Asked {
        QString kind; // "message", "input", "openFile", "saveFile", "chooseFolder"
        QString text; // the message or prompt or title
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QString title;
    };

    ~ScriptedPrompt() override {
        EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted answers were not asked for";
    }

    ScriptedPrompt& answerMessage(Answer a) { return push(QStringLiteral("message"), a); }
    ScriptedPrompt& answerInput(std::optional<QString> text) { return push(QStringLiteral("input"), text); }
    ScriptedPrompt& answerOpenFile(std::optional<QString> path) { return push(QStringLiteral("openFile"), path); }
    ScriptedPrompt& answerSaveFile(std::optional<QString> path) { return push(QStringLiteral("saveFile"), path); }
    ScriptedPrompt& answerChooseFolder(std::optional<QString> path) { return push(QStringLiteral("chooseFolder"), path); }

    const std::vector<Asked>& asked() const { return m_asked; }
    int beeps() const { return m_beeps; }

    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        m_asked.push_back({QStringLiteral("message"), text, buttons, icon, title});
        const auto v = pop(QStringLiteral("message"), text);
        return std::holds_alternative<Answer>(v) ? std::get<Answer>(v) : Cancel;
    }
    std::optional<QString> input(const QString& prompt, const QString& title, const QString&) override {
        m_asked.push_back({QStringLiteral("input"), prompt, Buttons::OkCancel, Icon::None, title});
        return text(pop(QStringLiteral("input"), prompt));
    }
    std::optional<QString> openFile(const QString& title, const QString&, const QString&) override {
        m_asked.push_back({QStringLiteral("openFile"), title, Buttons::OkCancel, Icon::None, title});
        return text(pop(QStringLiteral("openFile"), title));
    }
    std::optional<QString> saveFile(const QString& title, const QString&, const QString&) override {
        m_asked.push_back({QStringLiteral("saveFile"), title, Buttons::OkCancel, Icon::None, title});
        return text(pop(QStringLiteral("saveFile"), title));
    }
    std::optional<QString> chooseFolder(const QString& title, const QString&) override {
        m_asked.push_back({QStringLiteral("chooseFolder"), title, Buttons::OkCancel, Icon::None, title});
        return text(pop(QStringLiteral("chooseFolder"), title));
    }
    void beep() override { ++m_beeps; }

private:
    using Value = std::variant<Answer, std::optional<QString>>;
    struct Scripted {
        QString kind;
        Value value;
    };

    ScriptedPrompt& push(const QString& kind, Value v) {
        m_answers.push_back({kind, std::move(v)});
        return *this;
    }
    Value pop(const QString& kind, const QString& what) {
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected " << kind.toStdString() << ": " << what.toStdString();
            return std::optional<QString>();
        }
        Scripted next = m_answers.front();
        m_answers.pop_front();
        if (next.kind != kind)
            ADD_FAILURE() << "expected a " << next.kind.toStdString() << " but got a " << kind.toStdString()
                          << ": " << what.toStdString();
        return next.value;
    }
    static std::optional<QString> text(const Value& v) {
        return std::holds_alternative<std::optional<QString>>(v) ? std::get<std::optional<QString>>(v)
                                                                  : std::nullopt;
    }

    std::deque<Scripted> m_answers;
    std::vector<Asked> m_asked;
    int m_beeps = 0;
};

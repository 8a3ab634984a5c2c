// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <utility>

// One progress window as the wizard showed it.
struct RecordedProgress
{
    QString title;
    QStringList texts;                 // its first text, then the text of each update
    QList<std::pair<int, int>> counts; // done and to do, of each update
    bool showing = true;               // until the wizard takes it away
    std::function<void()> pressCancel; // as the user presses its Cancel
};

// Stands in for the real dialogs: records every message box, progress window and page opened,
// and answers the colour dialog from a queue, so nothing blocks.
class RecordingPrompts final : public vignetta::Prompts
{
public:
    void showMessage(QWidget* /*parent*/, const vignetta::MessageRequest& request) override
    {
        messages.append(request);
        if (onMessage)
            onMessage(request);
    }

    // Answers from the queue; an empty queue or an empty answer cancels the dialog.
    std::optional<QColor> chooseColor(QWidget* /*parent*/, const QColor& initial,
                                      const QString& title) override
    {
        colorDialogStarts.append(initial);
        colorDialogTitles.append(title);
        if (colorAnswers.empty())
            return std::nullopt;
        const std::optional<QColor> answer = colorAnswers.front();
        colorAnswers.pop_front();
        return answer;
    }

    std::unique_ptr<vignetta::ProgressPrompt>
    showProgress(QWidget* /*parent*/, vignetta::ProgressRequest request) override
    {
        auto shown = std::make_shared<RecordedProgress>();
        shown->title = request.title;
        shown->texts.append(request.text);
        shown->pressCancel = std::move(request.onCancel);
        progressWindows.append(shown);
        if (onProgress)
            onProgress(*shown);
        return std::make_unique<Progress>(shown, this);
    }

    void openUrl(const QUrl& url, OpenFailed failed) override
    {
        openedUrls.append(url);
        if (!openUrlFailure.isEmpty())
            failed(openUrlFailure);
    }

    // The texts of the recorded messages, in order.
    [[nodiscard]] QStringList texts() const
    {
        QStringList result;
        for (const auto& m : messages)
            result.append(m.text);
        return result;
    }

    QList<vignetta::MessageRequest> messages;
    std::function<void(const vignetta::MessageRequest&)> onMessage; // called as each box shows
    std::deque<std::optional<QColor>> colorAnswers;
    QList<QColor> colorDialogStarts; // the colour each dialog started on
    QStringList colorDialogTitles;   // and its title
    QList<std::shared_ptr<RecordedProgress>> progressWindows;
    // Called as each progress window opens and at each update, so a test can press Cancel.
    std::function<void(RecordedProgress&)> onProgress;
    QList<QUrl> openedUrls;
    QString openUrlFailure; // the reason the opening fails; empty: it succeeds

private:
    class Progress final : public vignetta::ProgressPrompt
    {
    public:
        Progress(std::shared_ptr<RecordedProgress> shown, RecordingPrompts* prompts)
            : m_shown(std::move(shown)), m_prompts(prompts)
        {}
        ~Progress() override { m_shown->showing = false; }
        Progress(const Progress&) = delete;
        Progress& operator=(const Progress&) = delete;
        Progress(Progress&&) = delete;
        Progress& operator=(Progress&&) = delete;

        void setProgress(int done, int toDo, const QString& text) override
        {
            m_shown->counts.append({done, toDo});
            m_shown->texts.append(text);
            if (m_prompts->onProgress)
                m_prompts->onProgress(*m_shown);
        }

    private:
        std::shared_ptr<RecordedProgress> m_shown;
        RecordingPrompts* m_prompts;
    };
};

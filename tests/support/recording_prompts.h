#pragma once

#include "ui/prompts.h"

#include <QList>

#include <deque>
#include <functional>

// Stands in for the real dialogs: records every message box and answers the colour dialog
// from a queue, so nothing blocks.
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
};

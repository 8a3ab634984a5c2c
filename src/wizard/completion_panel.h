#pragma once

#include <QGroupBox>

class QLabel;

namespace vignetta {

// The panel shown once the page has been written, naming the file.
class CompletionPanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit CompletionPanel(QWidget* parent = nullptr);

    [[nodiscard]] QLabel* lblFileName() const { return m_lblFileName; }

private:
    QLabel* m_lblFileName = nullptr;
};

} // namespace vignetta

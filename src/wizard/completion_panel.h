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

    // The page's file name, shown under "File has been written as".
    void setFileName(const QString& fileName);

private:
    QLabel* m_lblFileName = nullptr;
};

} // namespace vignetta

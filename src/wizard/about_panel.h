#pragma once

#include <QGroupBox>

class QPushButton;

namespace vignetta {

// The panel about the program: banner, version, the maker's addresses and Ok.
class AboutPanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit AboutPanel(QWidget* parent = nullptr);

    [[nodiscard]] QPushButton* cmdOk() const { return m_cmdOk; }

private:
    QPushButton* m_cmdOk = nullptr;
};

} // namespace vignetta

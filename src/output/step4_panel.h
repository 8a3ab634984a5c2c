#pragma once

#include <QGroupBox>

#include <array>

class QLineEdit;
class QRadioButton;

namespace vignetta {

class CaptionedFrame;
struct WizardState;

// Step 4: the page's name and its extension.
class Step4Panel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit Step4Panel(QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* txtFileName() const { return m_txtFileName; }
    [[nodiscard]] QRadioButton* optExtension(int index) const;

    void setDefaults();
    void Get_Step4_Info(WizardState& state) const;

private:
    CaptionedFrame* m_frame2 = nullptr;
    std::array<QRadioButton*, 2> m_optExtension{};
    QLineEdit* m_txtFileName = nullptr;
};

} // namespace vignetta

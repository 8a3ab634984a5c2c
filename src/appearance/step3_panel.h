#pragma once

#include <QColor>
#include <QGroupBox>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vignetta {

class CaptionedFrame;
struct WizardState;

// Step 3: thumbnail width and height, thumbnails per row, border and thickness, and the two
// page colours shown on the colour sample.
class Step3Panel final : public QGroupBox
{
    Q_OBJECT
public:
    enum ColorButton
    {
        kForeground = 0,
        kBackground = 1
    };

    explicit Step3Panel(QWidget* parent = nullptr);

    [[nodiscard]] QLineEdit* txtWidth() const { return m_txtWidth; }
    [[nodiscard]] QLineEdit* txtHeight() const { return m_txtHeight; }
    [[nodiscard]] QLineEdit* txtColumns() const { return m_txtColumns; }
    [[nodiscard]] QLineEdit* txtThickness() const { return m_txtThickness; }
    [[nodiscard]] QCheckBox* check1() const { return m_check1; }
    [[nodiscard]] QPushButton* cmdColor(int index) const;
    [[nodiscard]] QLabel* lblColor() const { return m_lblColor; }

    // The sample's colours: its text colour and its background colour.
    [[nodiscard]] QColor foreColor() const;
    [[nodiscard]] QColor backColor() const;
    void setSampleColor(int index, const QColor& color);

    void setDefaults();
    void Check1_Click();
    void Get_Step3_Info(WizardState& state) const;
    [[nodiscard]] QString GetForeColor() const;
    [[nodiscard]] QString GetBackColor() const;

Q_SIGNALS:
    // "FG" or "BG" was pressed; the window answers with the colour dialog.
    void colorRequested(int index);

private:
    std::array<CaptionedFrame*, 4> m_frame1{};
    QLineEdit* m_txtWidth = nullptr;
    QLineEdit* m_txtHeight = nullptr;
    QLineEdit* m_txtColumns = nullptr;
    QLineEdit* m_txtThickness = nullptr;
    QCheckBox* m_check1 = nullptr;
    std::array<QPushButton*, 2> m_cmdColor{};
    QLabel* m_lblColor = nullptr;
};

} // namespace vignetta

#pragma once

#include <QWidget>

class QLabel;

namespace vignetta {

// The floating hint window: a light yellow window holding one word-wrapped label. It is a
// top-level window of its own, without an owner, made afresh each time the tutor is turned on.
class FormTutor final : public QWidget
{
    Q_OBJECT
public:
    // `clientOrigin`: where the window's client area opens on the screen.
    explicit FormTutor(QPoint clientOrigin);

    [[nodiscard]] QLabel* lblTutor() const { return m_lblTutor; }

    // The label takes its fixed width and the height of its wrapped text; the window's outer
    // size, frame included, becomes the label's size plus a margin. The top-left corner stays.
    void fitToLabel();

    // The window's intended outer size (frame included), as last fitted.
    [[nodiscard]] QSize outerSize() const { return m_outerSize; }

Q_SIGNALS:
    // The user closed the window through its frame.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyOuterSize();

    QLabel* m_lblTutor = nullptr;
    QSize m_outerSize;
};

} // namespace vignetta

#include "tutor/form_tutor.h"

#include "ui/twips.h"
#include "ui/ui_kit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vignetta {

namespace {

constexpr QRgb kLightYellow = qRgb(255, 255, 192);
constexpr int kLabelWidth = 1704;   // twips
constexpr int kOuterMargin = 240;   // twips beyond the label, frame included
constexpr int kInitialWidth = 1692; // twips, replaced before the window is first shown
constexpr int kInitialHeight = 300; // twips
constexpr QRect kInitialLabelRect = twipsRect(0, 0, 1452, 192);

} // namespace

FormTutor::FormTutor(QPoint clientOrigin) : QWidget(nullptr, Qt::Window)
{
    setObjectName(u"formTutor"_s);
    setWindowTitle(u"Vignetta Tutor"_s);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setFont(windowFont(font()));
    QPalette yellow = palette();
    yellow.setColor(QPalette::Window, QColor(kLightYellow));
    setPalette(yellow);
    setAutoFillBackground(true);
    // Kept on the screen when the place asked for lies beyond its right or top edge.
    const QRect area = screen()->availableGeometry();
    const QPoint origin(
        std::max(area.left(),
                 std::min(clientOrigin.x(), area.right() - px(kLabelWidth + kOuterMargin))),
        std::max(area.top(), clientOrigin.y()));
    setGeometry(QRect(origin, QSize(px(kInitialWidth), px(kInitialHeight))));

    m_lblTutor = new QLabel(this);
    m_lblTutor->setObjectName(u"lblTutor"_s);
    m_lblTutor->setGeometry(kInitialLabelRect);
    m_lblTutor->setTextFormat(Qt::PlainText);
    m_lblTutor->setWordWrap(true);
    m_lblTutor->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblTutor->setAutoFillBackground(true);
}

void FormTutor::fitToLabel()
{
    const int width = px(kLabelWidth);
    // An empty label keeps the height of one line, as a label of no text still has.
    const int height = m_lblTutor->text().isEmpty() ? m_lblTutor->fontMetrics().height()
                                                    : m_lblTutor->heightForWidth(width);
    m_lblTutor->setGeometry(0, 0, width, height);
    m_outerSize = QSize(width + px(kOuterMargin), height + px(kOuterMargin));
    applyOuterSize();
}

void FormTutor::applyOuterSize()
{
    if (!m_outerSize.isValid())
        return;
    // The frame's size is known only once the window system has framed the window; until then
    // the client area takes the whole size, and is shrunk as soon as the frame shows.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client = m_outerSize - frame;
    if (size() != client)
        resize(client);
}

void FormTutor::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closedByUser();
}

void FormTutor::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    applyOuterSize();
}

void FormTutor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window system frames the window while mapping it; once the window is exposed the
    // frame is known and the client area can take the rest of the outer size.
    if (QWindow* window = windowHandle())
        window->installEventFilter(this);
    applyOuterSize();
}

bool FormTutor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && watched == windowHandle())
        applyOuterSize();
    return QWidget::eventFilter(watched, event);
}

} // namespace vignetta

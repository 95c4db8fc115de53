#include "platform/ClickablePanel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace oxw::platform {

ClickablePanel::ClickablePanel(const QString& objectName, const QString& caption, QWidget* parent)
    : QFrame(parent), label_(new QLabel(caption, this))
{
    setObjectName(objectName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setCursor(Qt::PointingHandCursor);
    label_->setObjectName(objectName + QStringLiteral("Caption"));
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignCenter);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(label_);
}

QString ClickablePanel::Caption() const { return label_->text(); }

void ClickablePanel::SetCaption(const QString& caption) { label_->setText(caption); }

void ClickablePanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void ClickablePanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (inDoubleClick_) {
        inDoubleClick_ = false;
        return;
    }
    if (wasPressed && rect().contains(event->position().toPoint())) emit clicked();
}

void ClickablePanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    pressed_ = false;
    inDoubleClick_ = true;
    emit doubleClicked();
}

}  // namespace oxw::platform

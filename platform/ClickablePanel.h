#pragma once
// A panel with a caption that acts as a button: the main window's step panels ("Click here
// for Acoustical Analysis" ...). A single click emits clicked(); a double click emits clicked()
// for its first press and doubleClicked() for the second, never a second clicked().

#include <QFrame>
#include <QString>

class QLabel;

namespace oxw::platform {

class ClickablePanel : public QFrame {
    Q_OBJECT
public:
    ClickablePanel(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    QString Caption() const;
    void SetCaption(const QString& caption);
    QLabel* CaptionLabel() const { return label_; }

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QLabel* label_;
    bool pressed_ = false;
    bool inDoubleClick_ = false;
};

}  // namespace oxw::platform

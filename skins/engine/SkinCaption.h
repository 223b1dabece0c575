// SPDX-License-Identifier: GPL-3.0-or-later
// The caption bar of a skinned window: the top side of the frame, the window's title and the skin's caption
// buttons; it moves the window when dragged.
#pragma once

#include <QAccessible>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <map>
#include <vector>

class QPainter;

namespace velmora {

class SkinnedWindow;
struct SkinCaptionButton;
struct SkinTheme;

class SkinCaption : public QWidget {
    Q_OBJECT
public:
    // Caption button actions as the skins write them.
    enum Action { caClose = 0, caMaximise = 1, caMinimise = 2 };

    SkinCaption(SkinnedWindow *owner, QWidget *window);
    ~SkinCaption() override;

    struct Button {
        int action;
        QRect rect;
        const SkinCaptionButton *def;
    };
    // The buttons the window allows, where they sit on the bar now.
    std::vector<Button> buttons() const;
    // Runs a caption button's action, as a click on it does.
    void run(int action);
    // A button's name, as its tool tip and screen readers say it.
    QString buttonName(int action) const;
    // The screen readers' interface of a caption button, made at the first asking.
    QAccessible::Id accessibleButton(int action);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *) override;
    bool event(QEvent *e) override;

private:
    // Hands the drag to the window system; false where it cannot move windows for the program.
    bool startSystemMove();
    bool allowed(int action) const;
    static void installAccessibility();
    int buttonAt(const QPoint &pos) const;
    void paintTitle(QPainter &p, const SkinTheme &theme, const std::vector<Button> &list, bool active);
    void paintButtons(QPainter &p, const std::vector<Button> &list);

    SkinnedWindow *owner_;
    int hover_ = -1;
    int pressed_ = -1;
    bool dragging_ = false;
    QPoint dragOffset_;
    std::map<int, QAccessible::Id> accessibleButtons_;
};

} // namespace velmora

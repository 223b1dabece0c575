// SPDX-License-Identifier: GPL-3.0-or-later
// The shown line's details, copying them, and the two links.
#include "app/LineTexts.h"
#include "app/LinkLabel.h"
#include "app/TForm1.h"
#include "grid/ClientDataSet.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "platform/WidgetText.h"
#include "text/Gbk.h"

#include "BuildSettings.h"

#include <QGroupBox>
#include <QLabel>

namespace velmora {

void TForm1::ClientDataSet1AfterScroll() {
    showxx();
}

void TForm1::DBGridEh1CellClick() {
    showxx();
}

void TForm1::showxx() {
    const int r = ClientDataSet1->recNo();
    if (r < 1)
        return; // a row is being appended
    const std::size_t entry = std::size_t(r - 1);
    setCaption(GroupBox3, titleTexts.at(entry));
    setCaption(xxxx, detailTexts.at(entry));
    // A transfer plan's details may run past the fixed box (many rides or parallel lines): then they show
    // whole as the box's tooltip.
    const bool clipped = queryMode == 4 && xxxx->heightForWidth(xxxx->width()) > xxxx->height();
    xxxx->setToolTip(clipped ? xxxx->text() : QString());
    lineUrl = lineAddress(kSiteBase, lineIds.at(entry));
    Label1->show();
    // The link changes colour at each showing, so a repeated showing is visible.
    static const QColor navy(0, 0, 128), red(255, 0, 0);
    QPalette p = Label1->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::WindowText) == navy ? red : navy);
    Label1->setPalette(p);
}

void TForm1::N8Click() {
    setClipboardGbk(caption(GroupBox3) + "\r\n" + caption(xxxx));
    static const std::string done = gbk("已经成功复制到剪贴板！");
    messageDlg(done, MsgType::Information, mbOK);
}

void TForm1::Label1Click() {
    shellOpen(lineUrl);
}

void TForm1::Label2Click() {
    shellOpen(homeAddress(kSiteBase));
}

} // namespace velmora

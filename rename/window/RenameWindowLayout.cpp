// SPDX-License-Identifier: GPL-3.0-or-later

// The rename window's controls: where each sits, its name, its texts and the
// order the Tab key visits them.
#include "RenameWindow.h"

#include "BannerStrip.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "FolderField.h"
#include "OptionButton.h"
#include "ProgramTexts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <cmath>

namespace {

// The layout is drawn in points; the window is laid out at 96 dots per inch.
int pt(double points) { return int(std::lround(points * 4.0 / 3.0)); }

void place(QWidget *control, double left, double top, double width, double height, QPoint origin = {})
{
    control->setGeometry(origin.x() + pt(left), origin.y() + pt(top), pt(width), pt(height));
}

// Where a frame's children are measured from: inside its border, below its caption.
QPoint innerOrigin(const QGroupBox *frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = frame->alignment();
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, frame).topLeft();
}

template <class Control, class... Args> Control *make(QWidget *parent, const char *name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

// A label names the field beside it, for the keyboard and for screen readers.
void nameByLabel(QLabel *label, QWidget *field)
{
    label->setBuddy(field);
    QString name = label->text();
    if (name.endsWith(QChar(0xFF1A))) // the full-width colon
        name.chop(1);
    field->setAccessibleName(name);
}

} // namespace

void RenameWindow::buildControls()
{
    setFixedSize(pt(282), pt(299.25));

    Label1 = make<QLabel>(this, "Label1", QStringLiteral("请指定文件夹："));
    place(Label1, 6, 6, 66, 12);

    路径 = make<FolderField>(this, "路径", QStringLiteral("请双击选择目标文件夹或磁盘"));
    路径->setToolTip(QStringLiteral("双击选择文件夹或磁盘"));
    place(路径, 78, 6, 144, 18);

    Label2 = make<QLabel>(this, "Label2", QStringLiteral("文件列表："));
    place(Label2, 6, 24, 54, 12);

    files_ = new FileListModel(
        session_.rows().names(), [this](int row) { return session_.tipFor(row); }, this);
    ListBox1 = make<FileListView>(this, "ListBox1");
    ListBox1->setModel(files_);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette listPalette = ListBox1->palette();
    listPalette.setColor(QPalette::Base, QColor(192, 255, 255));
    ListBox1->setPalette(listPalette);
    place(ListBox1, 6, 39, 141, 187.75);

    隐藏选项 = make<QGroupBox>(this, "隐藏选项", QStringLiteral("操作选项"));
    place(隐藏选项, 156, 36, 120, 48);
    const QPoint optionsOrigin = innerOrigin(隐藏选项);
    全选 = make<QPushButton>(隐藏选项, "全选", QStringLiteral("全选"));
    place(全选, 6, 12, 48, 18, optionsOrigin);
    反选 = make<QPushButton>(隐藏选项, "反选", QStringLiteral("反选"));
    place(反选, 60, 12, 48, 18, optionsOrigin);

    命名方式 = make<QGroupBox>(this, "命名方式", QStringLiteral("命名方式"));
    place(命名方式, 156, 90, 120, 138);
    const QPoint modeOrigin = innerOrigin(命名方式);
    插入到原名称之前 = make<OptionButton>(命名方式, "插入到原名称之前", QStringLiteral("插入到原名称之前"));
    place(插入到原名称之前, 6, 6, 126, 14.25, modeOrigin);
    插入到原名称之前->setChecked(true);
    插入到原名称之后 = make<OptionButton>(命名方式, "插入到原名称之后", QStringLiteral("插入到原名称之后"));
    place(插入到原名称之后, 6, 24, 126, 14.25, modeOrigin);
    替换原文件名 = make<OptionButton>(命名方式, "替换原文件名", QStringLiteral("替换原文件名"));
    place(替换原文件名, 6, 42, 126, 14.25, modeOrigin);
    替换指定字符 = make<OptionButton>(命名方式, "替换指定字符", QStringLiteral("替换指定字符"));
    place(替换指定字符, 6, 60, 84.75, 18, modeOrigin);
    Label5 = make<QLabel>(命名方式, "Label5", QStringLiteral("原字符："));
    place(Label5, 6, 84, 42, 12, modeOrigin);
    TextBox1 = make<QLineEdit>(命名方式, "TextBox1");
    place(TextBox1, 42, 78, 60, 18, modeOrigin);
    Label6 = make<QLabel>(命名方式, "Label6", QStringLiteral("新字符："));
    place(Label6, 6, 102, 42, 12, modeOrigin);
    TextBox2 = make<QLineEdit>(命名方式, "TextBox2");
    place(TextBox2, 42, 102, 60, 18, modeOrigin);

    Label7 = make<QLabel>(this, "Label7", QStringLiteral("请指定新名称："));
    place(Label7, 12, 240, 66, 12);
    新名称 = make<QLineEdit>(this, "新名称");
    place(新名称, 78, 234, 66, 24);

    CommandButton1 = make<QPushButton>(this, "CommandButton1", QStringLiteral("确定"));
    place(CommandButton1, 156, 234, 54, 24);
    CommandButton2 = make<QPushButton>(this, "CommandButton2", QStringLiteral("关于"));
    place(CommandButton2, 222, 234, 54, 24);
    for (QPushButton *button : {全选, 反选, CommandButton1, CommandButton2})
        button->setAutoDefault(false);

    ShockwaveFlash1 = make<BannerStrip>(this, "ShockwaveFlash1");
    ShockwaveFlash1->setFocusPolicy(Qt::TabFocus);
    ShockwaveFlash1->setAccessibleName(Texts::bannerName());
    place(ShockwaveFlash1, 0, 264, 282, 36);

    nameByLabel(Label1, 路径);
    nameByLabel(Label2, ListBox1);
    nameByLabel(Label5, TextBox1);
    nameByLabel(Label6, TextBox2);
    nameByLabel(Label7, 新名称);
}

void RenameWindow::applyTabOrder()
{
    QWidget *const order[] = {插入到原名称之前,
                              插入到原名称之后,
                              替换原文件名,
                              替换指定字符,
                              TextBox1,
                              TextBox2,
                              路径,
                              ListBox1,
                              全选,
                              反选,
                              CommandButton1,
                              新名称,
                              ShockwaveFlash1,
                              CommandButton2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

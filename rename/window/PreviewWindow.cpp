// SPDX-License-Identifier: GPL-3.0-or-later

#include "PreviewWindow.h"

#include "ProgramTexts.h"
#include "RenameSession.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

PreviewWindow::PreviewWindow(RenameSession &session, QWidget *beside)
    : QWidget(beside, Qt::Window)
    , session_(session)
{
    setObjectName(QStringLiteral("预览新名称"));
    setWindowTitle(Texts::previewTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("counts"));
    counts_->setFocusPolicy(Qt::TabFocus);
    onlySkipped_ = new QCheckBox(Texts::previewOnlySkipped(), this);
    onlySkipped_->setObjectName(QStringLiteral("onlySkipped"));
    rows_ = new QTableView(this);
    rows_->setObjectName(QStringLiteral("rows"));
    rows_->setModel(&model_);
    rows_->setAccessibleName(Texts::previewTitle());
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setWordWrap(false);
    rows_->verticalHeader()->hide();
    // Fixed rows: a million of them lay out at once.
    rows_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    rows_->verticalHeader()->setDefaultSectionSize(rows_->fontMetrics().height() + 4);
    rows_->horizontalHeader()->setStretchLastSection(true);
    rows_->horizontalHeader()->resizeSection(PreviewModel::OldName, 180);
    rows_->horizontalHeader()->resizeSection(PreviewModel::NewName, 180);
    layout->addWidget(counts_);
    layout->addLayout(numberingLine());
    layout->addWidget(onlySkipped_);
    layout->addWidget(rows_);
    resize(560, 400);
    if (beside)
        move(beside->frameGeometry().topRight() + QPoint(8, 0));

    connect(onlySkipped_, &QCheckBox::toggled, this, [this](bool only) {
        model_.setOnlySkipped(only);
        counts_->setText(model_.counts());
    });
    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, &PreviewWindow::refresh);
    connect(&session_, &RenameSession::changed, this, [this](RenameSession::Change what) {
        if (what == RenameSession::Change::Plan)
            pending_.start();
    });
    connect(&session_, &RenameSession::clicked, this,
            [this](const std::shared_ptr<const BatchPlan> &plan, const ClickResult &result) {
                pending_.stop();
                model_.showOutcome(plan, result);
                counts_->setText(model_.counts());
            });
    refresh();
}

// Start, step and least digits of 替换原文件名's numbers, each spin box named by
// the words before it.
QHBoxLayout *PreviewWindow::numberingLine()
{
    auto *line = new QHBoxLayout;
    const Numbering &now = session_.numbering();
    const auto spin = [&](const char *name, const QString &before, int low, int high, int value) {
        auto *label = new QLabel(before, this);
        auto *box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(low, high);
        box->setValue(value);
        label->setBuddy(box);
        box->setAccessibleName(before);
        line->addWidget(label);
        line->addWidget(box);
        return box;
    };
    auto *start = spin("start", Texts::numberingFrom(), 0, 999999999, int(now.start));
    auto *step = spin("step", Texts::numberingStep(), 1, 1000, int(now.step));
    auto *width = spin("width", Texts::numberingWidth(), 0, 12, now.width);
    width->setSpecialValueText(Texts::numberingAutomatic());
    line->addWidget(new QLabel(Texts::numberingDigits(), this));
    line->addStretch();
    for (QSpinBox *box : {start, step, width})
        connect(box, &QSpinBox::valueChanged, this, [this, start, step, width] {
            session_.setNumbering({std::uint64_t(start->value()), std::uint64_t(step->value()), width->value()});
        });
    return line;
}

void PreviewWindow::refresh()
{
    QElapsedTimer took;
    took.start();
    model_.showPlan(session_.currentPlan());
    counts_->setText(model_.counts());
    // A refresh that takes long waits as long for more typing, so that keys
    // typed into a huge selection are not held up one refresh each.
    pending_.setInterval(int(std::min<qint64>(took.elapsed(), 150)));
}

// Escape closes it, from whichever of its controls has the focus.
void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

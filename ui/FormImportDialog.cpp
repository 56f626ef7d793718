#include "ui/FormImportDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace movik {

namespace {

// Red that reads on the palette's base: darker on a light base, lighter on a dark one.
QColor DifferenceColour(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() > 128 ? QColor(180, 0, 0)
                                                           : QColor(255, 120, 120);
}

}  // namespace

FormImportDialog::FormImportDialog(const FormImportView& view, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fUvozObrasca"));
    setWindowTitle(QStringLiteral("Uvoz službenog obrasca (GFI-POD)"));
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(view.heading, this);
    heading->setWordWrap(true);
    layout->addWidget(heading);

    auto* caption = new QLabel(QStringLiteral("&Usklađenje ukupnih iznosa:"), this);
    layout->addWidget(caption);
    auto* table = new QTableWidget(static_cast<int>(view.lines.size()), 6, this);
    table->setObjectName(QStringLiteral("tUskladjenje"));
    table->setAccessibleName(QStringLiteral("Usklađenje ukupnih iznosa"));
    caption->setBuddy(table);
    table->setHorizontalHeaderLabels({QStringLiteral("Iznos"), QStringLiteral("Redak obrasca"),
                                      QStringLiteral("Movik"), QStringLiteral("Obrazac"),
                                      QStringLiteral("Razlika"), QStringLiteral("Objašnjenje")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    const QColor red = DifferenceColour(table->palette());
    for (int r = 0; r < static_cast<int>(view.lines.size()); ++r) {
        const FormImportView::Line& l = view.lines[static_cast<std::size_t>(r)];
        const QStringList cells = {l.caption, l.code, l.movik, l.form, l.difference, l.explainedBy};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 2 && c <= 4) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (l.differs) {
                item->setForeground(red);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumWidth(table->horizontalHeader()->length() + 40);
    table->setMinimumHeight(table->verticalHeader()->length() +
                            table->horizontalHeader()->height() + 8);
    layout->addWidget(table);

    QString text;
    text += view.differences.isEmpty()
                ? QStringLiteral(
                      "Provjera zbrojeva obrasca: svi zbrojevi odgovaraju svojim "
                      "dijelovima i pravilima obrasca.\n")
                : QStringLiteral("Obrazac se ne slaže sam sa sobom:\n  ") +
                      view.differences.join(QStringLiteral("\n  ")) + u'\n';
    if (!view.notCarried.isEmpty()) {
        text += QStringLiteral("\nNije preneseno:\n  ") +
                view.notCarried.join(QStringLiteral("\n  ")) + u'\n';
    }
    if (!view.notes.isEmpty()) {
        text += QStringLiteral("\nNapomene:\n  ") + view.notes.join(QStringLiteral("\n  "));
    }
    auto* notesLabel = new QLabel(QStringLiteral("&Provjera i napomene:"), this);
    layout->addWidget(notesLabel);
    auto* notes = new QPlainTextEdit(text, this);
    notes->setObjectName(QStringLiteral("mNapomene"));
    notes->setAccessibleName(QStringLiteral("Provjera i napomene"));
    notes->setReadOnly(true);
    notes->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    notesLabel->setBuddy(notes);
    layout->addWidget(notes);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(qMax(760, table->minimumWidth() + 24), 620);
}

}  // namespace movik

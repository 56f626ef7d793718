#include "ui/GeneralDataPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolTip>
#include <QVBoxLayout>

#include "document/Cp1250.h"
#include "model/Currency.h"
#include "ui/DateField.h"
#include "ui/GettingStartedPanel.h"
#include "ui/ShareCountField.h"
#include "ui/StatementPage.h"

namespace movik {

QValidator::State Cp1250Validator::validate(QString& input, int& /*pos*/) const {
    return IsCp1250Text(input.toStdString()) ? Acceptable : Invalid;
}

const QString kRefusedCharacterMessage = QStringLiteral(
    "Tekst nije promijenjen: sadrži znak koji se ne može zapisati u datoteku "
    "(Windows-1250).");

namespace {

// buddy takes the focus on the label's access key, so it must accept focus itself (a date
// field's edit, not the field).
QLabel* MakeLabel(const QString& text, const QString& name, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

// The text ended with a full stop, unless it ends in one already (a date such as "01. 01. 2026.").
QString Sentence(const QString& text) {
    return text.endsWith(u'.') ? text : text + u'.';
}

}  // namespace

GeneralDataPage::GeneralDataPage(const RegionalSettings& rs, QWidget* parent) : QWidget(parent) {
    // Header strip: the centred title and the way to the next page.
    QLabel* title = MakePageTitle(QStringLiteral("Opći podaci o poduzeću"),
                                  QStringLiteral("lOpceNaslov"), this);
    bNext = MakePageButton(true, QStringLiteral("bNextOpce"), this);
    auto* strip = new QGridLayout;
    strip->setColumnStretch(0, 1);
    strip->setColumnStretch(2, 1);
    strip->addWidget(title, 0, 1);
    strip->addWidget(bNext, 0, 2, Qt::AlignRight | Qt::AlignTop);
    strip->setColumnMinimumWidth(0, 40);

    // The fields, in tab order.
    MakeNameFields();
    MakePeriodFields(rs);
    MakeAmountFields(rs);

    auto* formBox = new QHBoxLayout;
    formBox->addSpacing(24);
    formBox->addLayout(LayOutFields(), 1);
    formBox->addSpacing(24);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(strip);
    layout->addSpacing(16);
    layout->addLayout(formBox);
    // The free lower part of the page: how to begin.
    auto* guideBox = new QHBoxLayout;
    guideBox->addSpacing(24);
    guideBox->addWidget(new GettingStartedPanel(this), 1);
    guideBox->addSpacing(24);
    layout->addSpacing(24);
    layout->addLayout(guideBox);
    layout->addStretch(1);

    setTabOrder(ePoduzece, eSjediste);
    setTabOrder(eSjediste, dOd);
    setTabOrder(dOd, dDo);
    setTabOrder(dDo, eBrojDionica);
    setTabOrder(eBrojDionica, cbIznos);
    setTabOrder(cbIznos, cbValuta);
}

void GeneralDataPage::MakeNameFields() {
    ePoduzece = new QLineEdit(this);
    ePoduzece->setObjectName(QStringLiteral("ePoduzece"));
    QFont bold = ePoduzece->font();
    bold.setBold(true);
    ePoduzece->setFont(bold);
    ePoduzece->setMaxLength(255);
    ePoduzece->setValidator(new Cp1250Validator(ePoduzece));
    ePoduzece->setToolTip(QStringLiteral("Ovdje upišite ime poduzeća"));

    eSjediste = new QLineEdit(this);
    eSjediste->setObjectName(QStringLiteral("eSjediste"));
    eSjediste->setMaxLength(255);
    eSjediste->setValidator(new Cp1250Validator(eSjediste));
    eSjediste->setToolTip(QStringLiteral("Upisati sjedište poduzeća"));
    // A refused character (typed or pasted) is not dropped without a word.
    for (QLineEdit* field : {ePoduzece, eSjediste}) {
        connect(field, &QLineEdit::inputRejected, this, [field] {
            QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())),
                               kRefusedCharacterMessage, field);
        });
    }
}

void GeneralDataPage::MakePeriodFields(const RegionalSettings& rs) {
    const QString dateFormat = QString::fromStdString(rs.shortDateFormat);
    dOd = new DateField(this);
    dOd->setObjectName(QStringLiteral("dOd"));
    dOd->setDateFormat(dateFormat);
    dOd->setToolTip(QStringLiteral("Početak obračunskog razdoblja"));
    dDo = new DateField(this);
    dDo->setObjectName(QStringLiteral("dDo"));
    dDo->setDateFormat(dateFormat);
    dDo->setToolTip(QStringLiteral("Završetak obračunskog razdoblja"));
    dOd->setFieldName(QStringLiteral("Obračunsko razdoblje od"));
    dDo->setFieldName(QStringLiteral("Obračunsko razdoblje do"));
    // A period ends on or after its start; an empty date is not compared.
    dOd->checkDate = [this](double day) {
        const double end = dDo->value();
        return day != 0 && end != 0 && day > end
                   ? Sentence(QStringLiteral(
                                  "Početak razdoblja ne može biti nakon njegova završetka: %1")
                                  .arg(dDo->text()))
                   : QString();
    };
    dDo->checkDate = [this](double day) {
        const double start = dOd->value();
        return day != 0 && start != 0 && day < start
                   ? Sentence(QStringLiteral(
                                  "Završetak razdoblja ne može biti prije njegova početka: %1")
                                  .arg(dOd->text()))
                   : QString();
    };
}

void GeneralDataPage::MakeAmountFields(const RegionalSettings& rs) {
    eBrojDionica = new ShareCountField(rs, this);
    eBrojDionica->setObjectName(QStringLiteral("eBrojDionica"));
    eBrojDionica->setToolTip(QStringLiteral("Broj dionica poduzeća (samo za d.d.)"));
    eBrojDionica->setFixedWidth(
        eBrojDionica->fontMetrics().horizontalAdvance(QStringLiteral("9.999.999.9990")) + 16);

    cbIznos = new QComboBox(this);
    cbIznos->setObjectName(QStringLiteral("cbIznos"));
    cbIznos->setEditable(true);
    cbIznos->setInsertPolicy(QComboBox::NoInsert);
    // The units follow the document's currency (the main window orders them when it shows one).
    for (const Valuta v : {Valuta::Hrk, Valuta::Eur}) {
        cbIznos->addItem(
            QString::fromUtf8(AmountUnitText(v).data(), qsizetype(AmountUnitText(v).size())));
        cbIznos->addItem(
            QString::fromUtf8(ThousandsUnitText(v).data(), qsizetype(ThousandsUnitText(v).size())));
    }
    cbIznos->addItems({QStringLiteral("DEM"), QStringLiteral("USD")});
    cbIznos->setCurrentIndex(0);
    cbIznos->setMinimumWidth(160);
    cbIznos->setAccessibleName(QStringLiteral("Iznosi u"));
    cbIznos->lineEdit()->setAccessibleName(QStringLiteral("Iznosi u"));

    cbValuta = new QComboBox(this);
    cbValuta->setObjectName(QStringLiteral("cbValuta"));
    cbValuta->setAccessibleName(QStringLiteral("Valuta"));
    cbValuta->addItems({QStringLiteral("euro (EUR)"), QStringLiteral("kuna (HRK)")});
    cbValuta->setToolTip(
        QStringLiteral("Valuta iznosa dokumenta: euro za razdoblje koje završava 1. 1. 2023. ili "
                       "kasnije, kuna za ranije. Promjena valute ne mijenja iznose."));
}

QLayout* GeneralDataPage::LayOutFields() {
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(10);
    form->addWidget(MakeLabel(QStringLiteral("&Naziv poduzeća"), QStringLiteral("lNazivPoduzeca"),
                              ePoduzece, this),
                    0, 0);
    form->addWidget(ePoduzece, 0, 1, 1, 4);
    form->addWidget(
        MakeLabel(QStringLiteral("&Sjedište"), QStringLiteral("lSjedisteOpce"), eSjediste, this), 1,
        0);
    form->addWidget(eSjediste, 1, 1, 1, 4);

    form->addWidget(MakeLabel(QStringLiteral("Obračunsko &razdoblje"),
                              QStringLiteral("lObracunskoRazdoblje"), dOd->lineEdit(), this),
                    2, 0);
    auto* period = new QHBoxLayout;
    period->setSpacing(6);
    period->addWidget(dOd);
    period->addWidget(
        MakeLabel(QStringLiteral("do"), QStringLiteral("lDo"), dDo->lineEdit(), this));
    period->addWidget(dDo);
    period->addStretch(0);
    form->addLayout(period, 2, 1);
    auto* periodNote = new QLabel(
        QStringLiteral("Upisuje se obračunsko razdoblje računa dobiti i gubitka. "), this);
    periodNote->setObjectName(QStringLiteral("lNapomenaRazdoblje"));
    periodNote->setWordWrap(true);
    form->addWidget(periodNote, 2, 2, 1, 3);

    // On B: Alt+D opens the "&Dokument" menu on every page.
    form->addWidget(MakeLabel(QStringLiteral("&Broj dionica"), QStringLiteral("lBrojDionica"),
                              eBrojDionica, this),
                    3, 0);
    form->addWidget(eBrojDionica, 3, 1, Qt::AlignLeft);
    auto* sharesNote = new QLabel(QStringLiteral("* samo za dioničko društvo"), this);
    sharesNote->setObjectName(QStringLiteral("lNapomenaDionice"));
    form->addWidget(sharesNote, 3, 2, 1, 3);

    form->addWidget(
        MakeLabel(QStringLiteral("I&znosi u"), QStringLiteral("lIznosiU"), cbIznos, this), 4, 0);
    form->addWidget(cbIznos, 4, 1, Qt::AlignLeft);
    auto* currency = new QHBoxLayout;
    currency->setSpacing(6);
    currency->addWidget(
        MakeLabel(QStringLiteral("&Valuta"), QStringLiteral("lValuta"), cbValuta, this));
    currency->addWidget(cbValuta);
    currency->addStretch(0);
    form->addLayout(currency, 4, 2, 1, 3);
    form->setColumnStretch(4, 1);
    return form;
}

void GeneralDataPage::ShowCurrency(Valuta v, const QString& unit) {
    const QSignalBlocker quietCurrency(cbValuta);
    const QSignalBlocker quietUnit(cbIznos);
    cbValuta->setCurrentIndex(v == Valuta::Eur ? 0 : 1);
    if (v != shownCurrency_ || cbIznos->count() == 0) {
        const auto text = [](std::string_view u) {
            return QString::fromUtf8(u.data(), static_cast<qsizetype>(u.size()));
        };
        const Valuta other = v == Valuta::Eur ? Valuta::Hrk : Valuta::Eur;
        cbIznos->clear();
        cbIznos->addItems({text(AmountUnitText(v)), text(ThousandsUnitText(v)),
                           text(AmountUnitText(other)), text(ThousandsUnitText(other)),
                           QStringLiteral("DEM"), QStringLiteral("USD")});
        shownCurrency_ = v;
    }
    if (cbIznos->currentText() != unit) {
        cbIznos->setCurrentText(unit);
    }
}

}  // namespace movik

// The view's controls: set button, vowel list, Save and Reset, and the two sliders.
#include "view/TundrelView.h"

#include "view/SymbolFont.h"
#include "view/VowelRowDelegate.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

namespace {

// The length slider's positions 1..100 stand for durations 100..1 (top = 100).
constexpr int kLengthMin = 1;
constexpr int kLengthMax = 100;
// The F3 slider's positions 13..34 stand for 1300..3400 Hz (top = 1300).
constexpr int kF3Min = 13;
constexpr int kF3Max = 34;
constexpr int kF3StartPosition = 27;

// A vertical slider with its minimum at the top, ticks on the left.
QSlider* CreateSlider(QWidget* parent, int minimum, int maximum, int position, int page, int ticks,
                      const QRect& rect) {
    auto* slider = new QSlider(Qt::Vertical, parent);
    slider->setRange(minimum, maximum);
    slider->setValue(position);
    slider->setPageStep(page);
    slider->setSingleStep(1);
    slider->setTickInterval(ticks);
    slider->setTickPosition(QSlider::TicksLeft);
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setGeometry(rect);
    return slider;
}

QLabel* CreateLabel(QWidget* parent, const char* text, const QRect& rect, const QFont& font) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(rect);
    label->setFont(font);
    return label;
}

QPushButton* CreateButton(QWidget* parent, const char* text, const QRect& rect, const QFont& font) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setGeometry(rect);
    button->setFont(font);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void CTundrelView::CreateControls() {
    CreateSliders();
    m_labelFont = QFont(QStringLiteral("Arial Narrow"));
    m_labelFont.setPointSize(10);
    m_labelFont.setStyleHint(QFont::SansSerif);
    m_labelFont.setStretch(QFont::Condensed);
    CreateLabels();
    CreateVowelList();
}

void CTundrelView::CreateSliders() {
    m_pLengthSlider =
        CreateSlider(this, kLengthMin, kLengthMax, kLengthMin, 10, 10, QRect(430, 0, 40, 132));
    m_pF3Slider =
        CreateSlider(this, kF3Min, kF3Max, kF3StartPosition, 1, 1, QRect(430, 172, 40, 173));
    for (QSlider* slider : {m_pLengthSlider, m_pF3Slider}) {
        connect(slider, &QSlider::valueChanged, this, [this, slider] { OnSliderMoved(slider); });
        connect(slider, &QSlider::sliderReleased, this, [this] { PlayCurrent(); });
    }
}

void CTundrelView::CreateLabels() {
    m_pSaveButton = CreateButton(this, "Save", QRect(0, 321, 50, 32), m_labelFont);
    m_pResetButton = CreateButton(this, "Reset", QRect(0, 353, 50, 32), m_labelFont);
    m_pF3Value = CreateLabel(this, "2700", QRect(430, 345, 40, 20), m_labelFont);
    m_pF3Caption = CreateLabel(this, "F3", QRect(430, 365, 40, 20), m_labelFont);
    m_pLengthValue = CreateLabel(this, "100", QRect(430, 132, 40, 20), m_labelFont);
    m_pLengthCaption = CreateLabel(this, "Len", QRect(430, 152, 40, 20), m_labelFont);
    m_pSetButton = CreateButton(this, "Cardinal", QRect(0, 0, 50, 20), m_labelFont);
    m_pSetButton->setDefault(true);
    connect(m_pSaveButton, &QPushButton::clicked, this, [this] { SaveVowel(); });
    connect(m_pResetButton, &QPushButton::clicked, this, [this] { ResetVowel(); });
    connect(m_pSetButton, &QPushButton::clicked, this, [this] { OnCommand(ID_SWITCH_SET); });
}

void CTundrelView::CreateVowelList() {
    m_pVowelList = new QListWidget(this);
    m_pVowelList->setGeometry(0, 20, 50, 301);
    m_pVowelList->setFont(SymbolListFont(m_symbolFont));
    m_pVowelList->setItemDelegate(new VowelRowDelegate(m_pVowelList));
    m_pVowelList->setUniformItemSizes(true);
    m_pVowelList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pVowelList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click selects even the vowel that is selected already (back to its position); the
    // keyboard selects through the change of the current row.
    connect(m_pVowelList, &QListWidget::itemPressed, this, [this] { SelectVowel(); });
    connect(m_pVowelList, &QListWidget::currentRowChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            SelectVowel();
    });
}

void CTundrelView::ShowAdvancedControls() {
    for (QWidget* control :
         {static_cast<QWidget*>(m_pLengthSlider), static_cast<QWidget*>(m_pLengthValue),
          static_cast<QWidget*>(m_pLengthCaption), static_cast<QWidget*>(m_pF3Slider),
          static_cast<QWidget*>(m_pF3Value), static_cast<QWidget*>(m_pF3Caption)})
        control->setVisible(m_bAdvanced);
    resize(RequiredClientSize());
}

void CTundrelView::OnSliderMoved(QSlider* slider) {
    if (slider == m_pF3Slider)
        m_pF3Value->setText(QString::number(100 * m_pF3Slider->value()));
    else
        m_pLengthValue->setText(QString::number(GetDuration()));
    // A move by key, page click or wheel ends at once; a drag ends when it is released.
    if (!slider->isSliderDown())
        PlayCurrent();
}

int CTundrelView::GetDuration() const {
    return kLengthMax + 1 - m_pLengthSlider->value();
}

void CTundrelView::SetDuration(int duration) {
    {
        const QSignalBlocker blocker(m_pLengthSlider);
        m_pLengthSlider->setValue(kLengthMax + 1 - duration);
    }
    m_pLengthValue->setText(QString::number(duration));
}

int CTundrelView::GetF3() {
    if (!m_bAutoF3)
        return 100 * m_pF3Slider->value();
    const int result = AutomaticF3(m_nF1, m_nF2);
    SetF3(result);
    return result;
}

void CTundrelView::SetF3(int f3) {
    {
        const QSignalBlocker blocker(m_pF3Slider);
        m_pF3Slider->setValue(f3 / 100);
    }
    m_pF3Value->setText(QString::number(f3));
}

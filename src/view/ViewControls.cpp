// The view's controls: set button, vowel list, Save and Reset, and the two sliders; what
// they show comes from the chart's state, and what the user does with them goes there.
#include "view/TundrelView.h"

#include "doc/VowelInventory.h"
#include "drawing/SymbolFont.h"
#include "view/VowelRowDelegate.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

namespace {

QString SymbolText(unsigned char fontByte) {
    return QString::fromUtf8(SymbolToUtf8(fontByte));
}

// Sets a slider's position without announcing it as the user's move.
void ShowPosition(QSlider* slider, int position) {
    const QSignalBlocker blocker(slider);
    slider->setValue(position);
}

void ShowNumber(QLabel* label, int number) {
    const QString text = QString::number(number);
    if (label->text() != text)
        label->setText(text);
}

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
    m_pLengthSlider = CreateSlider(this, ChartState::kLengthStepMin, ChartState::kLengthStepMax,
                                   m_state.LengthStep(), 10, 10, QRect(430, 0, 40, 132));
    m_pF3Slider = CreateSlider(this, ChartState::kF3StepMin, ChartState::kF3StepMax,
                               m_state.F3Step(), 1, 1, QRect(430, 172, 40, 173));
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
    m_pVowelList->setFont(SymbolListFont(m_look.symbolFont));
    m_pVowelList->setItemDelegate(new VowelRowDelegate(m_pVowelList));
    m_pVowelList->setUniformItemSizes(true);
    m_pVowelList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pVowelList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The user's selection is the state's. A click selects even the vowel that is selected
    // already (back to its position); the keyboard selects through the change of the
    // current row.
    connect(m_pVowelList, &QListWidget::itemSelectionChanged, this,
            [this] { m_state.SetSelectedRow(ListRow()); });
    connect(m_pVowelList, &QListWidget::itemPressed, this, [this] { OnListRowChosen(); });
    connect(m_pVowelList, &QListWidget::currentRowChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            OnListRowChosen();
    });
}

// The row the user has selected in the list, or -1.
int CTundrelView::ListRow() const {
    const QListWidgetItem* item = m_pVowelList->currentItem();
    return item && item->isSelected() ? m_pVowelList->row(item) : -1;
}

void CTundrelView::OnListRowChosen() {
    m_state.SetSelectedRow(ListRow());
    SelectVowel();
}

void CTundrelView::ShowAdvancedControls() {
    for (QWidget* control :
         {static_cast<QWidget*>(m_pLengthSlider), static_cast<QWidget*>(m_pLengthValue),
          static_cast<QWidget*>(m_pLengthCaption), static_cast<QWidget*>(m_pF3Slider),
          static_cast<QWidget*>(m_pF3Value), static_cast<QWidget*>(m_pF3Caption)})
        control->setVisible(m_state.ShowsAdvancedControls());
    resize(RequiredClientSize());
}

void CTundrelView::OnSliderMoved(QSlider* slider) {
    if (slider == m_pF3Slider)
        m_state.MoveF3Slider(slider->value());
    else
        m_state.MoveLengthSlider(slider->value());
    ShowSliders();
    // A move by key, page click or wheel ends at once; a drag ends when it is released.
    if (!slider->isSliderDown())
        PlayCurrent();
}

void CTundrelView::SetDuration(int duration) {
    m_state.SetDuration(duration);
    ShowSliders();
}

int CTundrelView::GetF3() {
    const int f3 = m_state.UpdateF3();
    ShowSliders();
    return f3;
}

void CTundrelView::SetF3(int f3) {
    m_state.SetF3(f3);
    ShowSliders();
}

// --- Showing the state -------------------------------------------------------------------

void CTundrelView::ShowState() {
    ShowVowelList();
    ShowSliders();
    const QString set =
        m_state.VowelSet() == 0 ? QStringLiteral("Cardinal") : QStringLiteral("Native");
    if (m_pSetButton->text() != set)
        m_pSetButton->setText(set);
    if (m_state.TakeChartRedraw())
        update(QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight));
}

// Renews the rows after each fill of the state's list (which scrolls it back to the top),
// and selects the state's row.
void CTundrelView::ShowVowelList() {
    const QSignalBlocker blocker(m_pVowelList);
    if (m_nShownListFills != m_state.ListFills()) {
        m_nShownListFills = m_state.ListFills();
        m_pVowelList->clear();
        for (const VowelRow& row : m_state.Rows()) {
            auto* item = new QListWidgetItem(SymbolText(row.symbol) +
                                             (row.modified ? QString(kModifiedMark) : QString()));
            item->setData(Qt::UserRole, static_cast<int>(row.symbol));
            item->setSizeHint(QSize(40, kSymbolRowHeight));
            m_pVowelList->addItem(item);
        }
        m_pVowelList->setVerticalScrollBarPolicy(
            m_pVowelList->count() > 10 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    }
    const int row = m_state.SelectedRow();
    if (ListRow() == row)
        return;
    if (row >= 0) {
        m_pVowelList->setCurrentRow(row);
    } else {
        m_pVowelList->clearSelection();
        m_pVowelList->setCurrentRow(-1);
    }
}

void CTundrelView::ShowSliders() {
    ShowPosition(m_pF3Slider, m_state.F3Step());
    ShowNumber(m_pF3Value, m_state.ShownF3());
    ShowPosition(m_pLengthSlider, m_state.LengthStep());
    ShowNumber(m_pLengthValue, m_state.ShownDuration());
    m_pF3Slider->setEnabled(!m_state.IsAutoF3());
}

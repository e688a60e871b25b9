// Selection and playback: choosing a point, storing and resetting vowels, and the repaint
// that turns the point into formants and plays it.
#include "view/TundrelView.h"

#include "audio/SoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "doc/TundrelDoc.h"
#include "doc/VowelInventory.h"
#include "synth/SynthRun.h"
#include "view/HeldBackMessages.h"
#include "view/SymbolFont.h"
#include "view/VowelRowDelegate.h"

#include <QListWidget>
#include <QPainter>

#include <cmath>

namespace {

// Degrees to radians as the circle mode has always computed it (slightly below pi / 180).
constexpr double kDegreeFactor = 0.01745294277777778;
constexpr int kPointStep = 5;

QString SymbolText(unsigned char fontByte) {
    return QString::fromUtf8(SymbolToUtf8(fontByte));
}

unsigned char FirstByte(const char* symbol) {
    return symbol ? static_cast<unsigned char>(symbol[0]) : 0;
}

// The first slot, in type and record order, whose symbol starts with fontByte; -1 if none.
int SlotOfSymbol(unsigned char fontByte) {
    for (int type = 0; type < kTypeCount; ++type) {
        for (int position = 0; position < kPositionsPerType; ++position) {
            if (FirstByte(kPresetVowels[kMale][type][position].symbol) == fontByte)
                return SlotOf(type, position);
        }
    }
    return -1;
}

} // namespace

// --- Where the point is ------------------------------------------------------------------

ChartScale CTundrelView::Scale() const {
    ChartScale scale;
    scale.bark = m_bBark;
    scale.zoom = m_bZoom;
    scale.gridWidth = m_nGridWidth;
    if (m_bZoom) {
        scale.centreF1 = ZoomCentreF1();
        scale.centreF2 = ZoomCentreF2();
    }
    return scale;
}

const VowelEntry* CTundrelView::PresetTable() const {
    return kPresetVowels[m_nGender == kMale ? kMale : kFemale][m_nVowelType];
}

bool CTundrelView::ListShowsModifiedVowels() const {
    return m_bModifiedMap || m_bModifiedVowels;
}

int CTundrelView::SelectedRow() const {
    const QListWidgetItem* item = m_pVowelList->currentItem();
    return item && item->isSelected() ? m_pVowelList->row(item) : -1;
}

std::string CTundrelView::SelectedSymbol() const {
    const int row = SelectedRow();
    if (row < 0)
        return std::string();
    const int fontByte = m_pVowelList->item(row)->data(Qt::UserRole).toInt();
    return std::string(1, static_cast<char>(fontByte));
}

// The preset record that zoom mode centres on, or nullptr without a list selection.
const VowelEntry* CTundrelView::ZoomCentreRecord() const {
    const int row = SelectedRow();
    if (row < 0)
        return nullptr;
    const int gender = m_nGender == kMale ? kMale : kFemale;
    // A list of modified vowels (also the one the Modified Map shows) mixes all types: its
    // rows are found by their symbols, not as positions in the current type's table.
    if (!ListShowsModifiedVowels())
        return &kPresetVowels[gender][m_nVowelType][row];
    const int slot = SlotOfSymbol(static_cast<unsigned char>(SelectedSymbol()[0]));
    if (slot < 0)
        return &kPresetVowels[kMale][0][0];
    return &kPresetVowels[gender][slot / kPositionsPerType][slot % kPositionsPerType];
}

int CTundrelView::ZoomCentreF1() const {
    const VowelEntry* record = ZoomCentreRecord();
    return record ? record->f1 : kF1Axis.herzOrigin;
}

int CTundrelView::ZoomCentreF2() const {
    const VowelEntry* record = ZoomCentreRecord();
    return record ? record->f2 : kF2Axis.herzOrigin;
}

ChartPoint CTundrelView::CircleOffsets() const {
    const double angle = m_nCircleAngle * kDegreeFactor;
    return {static_cast<int>(m_nCircleRadius * std::sin(angle)),
            static_cast<int>(m_nCircleRadius * std::cos(angle))};
}

// --- Choosing the point ------------------------------------------------------------------

void CTundrelView::InvalidateMarker() {
    update(QRect(m_nSelX + 45, m_nSelY - 5, 9, 9));
    // Markers and lines that hang on the point move with it.
    if (m_bCircle || (m_bDiphthong && m_nDiphX > 0))
        update(QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight));
}

void CTundrelView::OnLButtonDown(int px, int py) {
    if (m_bCircle) {
        m_bCircle = false;
        Redraw();
        emit commandStatesChanged();
    }
    if (!(px - kChartLeft > 0 && px <= kChartRight))
        return;
    InvalidateMarker();
    m_nSelX = px - kChartLeft;
    m_nSelY = py;
    if (m_bZoom) {
        const ChartPoint snapped = SnapToGrid({m_nSelX, m_nSelY}, m_nGridWidth);
        m_nSelX = snapped.x;
        m_nSelY = snapped.y;
    }
    if (m_bDiphthong)
        Redraw();
    InvalidateMarker();
    PlayOnNextPaint();
}

void CTundrelView::MovePoint(int id) {
    const int step = m_bZoom ? m_nGridWidth : kPointStep;
    InvalidateMarker();
    switch (id) {
    case ID_MOVE_UP:
        m_nSelY = std::max(m_nSelY - step, 0);
        break;
    case ID_MOVE_DOWN:
        m_nSelY += step;
        if (m_nSelY > kChartHeight)
            m_nSelY = kChartHeight - 1;
        break;
    case ID_MOVE_RIGHT:
        m_nSelX += step;
        if (m_nSelX > kChartWidth)
            m_nSelX = kChartWidth - 1;
        break;
    case ID_MOVE_LEFT:
        m_nSelX = std::max(m_nSelX - step, 0);
        break;
    }
    InvalidateMarker();
    PlayOnNextPaint();
}

void CTundrelView::SelectVowel() {
    const int row = SelectedRow();
    InvalidateMarker();
    if (row < 0)
        return;
    m_log.VowelSelected(ListEntryBytes(row));
    const ChartScale scale = Scale();
    if (ListShowsModifiedVowels()) {
        const std::string symbol = SelectedSymbol();
        const char* s = symbol.c_str();
        m_nSelX = FrequencyToX(scale, m_pDoc->GetEntryF1BySymbol(s, m_nGender, m_nVowelSet));
        m_nSelY = FrequencyToY(scale, m_pDoc->GetEntryF2BySymbol(s, m_nGender, m_nVowelSet));
        SetF3(m_pDoc->GetEntryF3BySymbol(s, m_nGender, m_nVowelSet));
        SetDuration(m_pDoc->GetEntryLenBySymbol(s, m_nGender, m_nVowelSet));
    } else {
        const int slot = SlotOf(m_nVowelType, row);
        m_nSelX = FrequencyToX(scale, m_pDoc->GetEntryF1(slot, m_nGender, m_nVowelSet));
        m_nSelY = FrequencyToY(scale, m_pDoc->GetEntryF2(slot, m_nGender, m_nVowelSet));
        SetF3(m_pDoc->GetEntryF3(slot, m_nGender, m_nVowelSet));
        if (m_pDoc->IsEntryModified(slot, m_nGender, m_nVowelSet))
            SetDuration(m_pDoc->GetEntryLen(slot, m_nGender, m_nVowelSet));
    }
    InvalidateMarker();
    PlayOnNextPaint();
    setFocus();
}

// --- The paint that plays ----------------------------------------------------------------

void CTundrelView::UpdateStatusText() {
    m_strStatus = m_bShowPosition ? QString::asprintf("F1:%d Hz F2:%dHz F3:%d Hz x:%d y:%d", m_nF1,
                                                      m_nF2, m_nF3, m_nSelX, m_nSelY)
                                  : QStringLiteral("Information hidden !");
    emit statusTextChanged(m_strStatus);
}

void CTundrelView::DrawSelection(QPainter& painter) {
    if (m_nSelX <= 0)
        return;
    const ChartScale scale = Scale();
    m_nF1 = XToFrequency(scale, m_nSelX);
    m_nF2 = YToFrequency(scale, m_nSelY);
    m_nF3 = GetF3();
    UpdateStatusText();
    if (m_bDiphthong && m_nDiphX > 0) {
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(m_nSelX + kChartLeft, m_nSelY, m_nDiphX + kChartLeft, m_nDiphY);
        DrawBitmap(painter, kPictureEndPoint, m_nDiphX + 46, m_nDiphY - 4, 8, 8);
    }
    const ChartPoint offset = CircleOffsets();
    if (m_bCircle)
        DrawBitmap(painter, kPictureEndPoint, m_nSelX - offset.x + 46, m_nSelY - offset.y - 4, 8,
                   8);
    DrawBitmap(painter, kPictureSelectedPoint, m_nSelX + 46, m_nSelY - 4, 8, 8);
}

// The chart shows something new: the paint that follows plays the selected point once.
void CTundrelView::PlayOnNextPaint() {
    m_bPlayPending = true;
}

// Plays the point the paint has just drawn (its formants are fresh), once the painter is
// done; a failure to render is reported after the paint.
void CTundrelView::PlayPaintedPoint() {
    if (m_nSelX <= 0)
        return;
    const HeldBackMessages heldBack;
    m_log.Formants(m_nF1, m_nF2, m_nF3);
    const ChartScale scale = Scale();
    const ChartPoint offset = CircleOffsets();
    if (m_bDiphthong && m_nDiphX > 0)
        Synthesize(m_nF1, m_nF2, XToFrequency(scale, m_nDiphX), YToFrequency(scale, m_nDiphY));
    else if (m_bCircle)
        Synthesize(XToFrequency(scale, m_nSelX - offset.x), YToFrequency(scale, m_nSelY - offset.y),
                   0, 0);
    else
        Synthesize(m_nF1, m_nF2, 0, 0);
    UpdateStatusText();
}

// Stops the sound, renders (f1, f2, m_nF3) gliding to (f1End, f2End) and plays it.
void CTundrelView::Synthesize(int f1, int f2, int f1End, int f2End) {
    if (m_pPlayer)
        m_pPlayer->Stop();
    if (m_pVolume)
        m_pVolume->SetVolume(static_cast<unsigned>(m_nVolume));
    m_nDuration = GetDuration();
    if (m_strVoiceFile.empty())
        return; // no voice chosen yet: there is nothing to voice the vowel with
    const int tilt = m_nGender == kMale ? 0 : m_nFemaleTilt;
    if (SynthesizeVowel(m_strVoiceFile, tilt, m_nDuration, f1, f2, m_nF3, f1End, f2End) &&
        m_pPlayer)
        m_pPlayer->Play(g_strTempDir + "/temp.wav");
}

void CTundrelView::PlayCurrent() {
    m_nDuration = GetDuration();
    m_nF3 = GetF3();
    if (m_nF1 <= 0)
        return; // no point has been computed yet
    if (m_bDiphthong && m_nDiphX > 0) {
        const ChartScale scale = Scale();
        Synthesize(m_nF1, m_nF2, XToFrequency(scale, m_nDiphX), YToFrequency(scale, m_nDiphY));
    } else {
        Synthesize(m_nF1, m_nF2, 0, 0);
    }
}

// --- Storing and resetting ---------------------------------------------------------------

void CTundrelView::SaveVowel() {
    if (m_bModifiedMap) {
        ShowMessage("Can't save while showing modified Map!", "Sorry");
        return;
    }
    const ChartScale scale = Scale();
    const int f1 = XToFrequency(scale, m_nSelX);
    const int f2 = YToFrequency(scale, m_nSelY);
    const int f3 = GetF3();
    const int duration = GetDuration();
    const int row = SelectedRow();
    if (row < 0) {
        ShowMessage("Please first choose Position\n to store Vowel to !", "Warning",
                    MsgIcon::Warning);
        return;
    }
    m_log.Saved();
    if (m_bModifiedVowels)
        m_pDoc->StoreEntryBySymbol(SelectedSymbol().c_str(), f1, f2, f3, duration, m_nGender,
                                   m_nVowelSet);
    else
        m_pDoc->StoreEntry(SlotOf(m_nVowelType, row), f1, f2, f3, duration, m_nGender, m_nVowelSet);
    FillVowelList();
    emit commandStatesChanged();
}

void CTundrelView::ResetVowel() {
    if (m_bModifiedMap) {
        ShowMessage("Can't initialize while showing modified Map!", "Sorry");
        return;
    }
    const int row = SelectedRow();
    if (row < 0)
        return;
    // The list of modified vowels mixes all types: its row is not a position, so the vowel
    // is found by its symbol, as storing it does.
    int slot = SlotOf(m_nVowelType, row);
    if (m_bModifiedVowels)
        slot = SlotOfSymbol(static_cast<unsigned char>(SelectedSymbol()[0]));
    if (slot < 0)
        return;
    const int gender = m_nGender == kMale ? kMale : kFemale;
    const VowelEntry& preset =
        kPresetVowels[gender][slot / kPositionsPerType][slot % kPositionsPerType];
    m_pDoc->InitEntry(slot, preset.f1, preset.f2, preset.f3, 100, m_nGender, m_nVowelSet);
    m_log.Reset();
    const ChartScale scale = Scale();
    m_nSelX = FrequencyToX(scale, preset.f1);
    m_nSelY = FrequencyToY(scale, preset.f2);
    SetF3(preset.f3);
    SetDuration(100);
    FillVowelList();
    Redraw();
}

void CTundrelView::FillVowelList() {
    const QSignalBlocker blocker(m_pVowelList);
    const int row = SelectedRow();
    m_pVowelList->clear();
    auto add = [this](const char* symbol, bool modified) {
        const unsigned char fontByte = FirstByte(symbol);
        auto* item = new QListWidgetItem(SymbolText(fontByte) +
                                         (modified ? QString(kModifiedMark) : QString()));
        item->setData(Qt::UserRole, static_cast<int>(fontByte));
        item->setSizeHint(QSize(40, kSymbolRowHeight));
        m_pVowelList->addItem(item);
    };
    if (ListShowsModifiedVowels()) {
        for (int type = 0; type < kTypeCount; ++type) {
            for (int position = 0; position < kPositionsPerType; ++position) {
                if (m_pDoc->IsEntryModified(SlotOf(type, position), m_nGender, m_nVowelSet))
                    add(kPresetVowels[kMale][type][position].symbol, true);
            }
        }
    } else {
        const VowelEntry* table = PresetTable();
        for (int position = 0; table[position].f1 != 0; ++position) {
            const int slot = SlotOf(m_nVowelType, position);
            add(table[position].symbol, m_pDoc->IsEntryModified(slot, m_nGender, m_nVowelSet));
        }
    }
    if (row >= 0 && row < m_pVowelList->count())
        m_pVowelList->setCurrentRow(row);
    m_pVowelList->setVerticalScrollBarPolicy(m_pVowelList->count() > 10 ? Qt::ScrollBarAsNeeded
                                                                        : Qt::ScrollBarAlwaysOff);
}

// --- Paging through the vowel types ------------------------------------------------------

void CTundrelView::ChangeVowelType(int type) {
    m_nVowelType = type;
    emit commandStatesChanged();
    if (ListShowsModifiedVowels()) {
        ShowMessage("All modified Vowels are shown. There are no other pages.", "Sorry");
        return;
    }
    const int row = SelectedRow();
    FillVowelList();
    if (!m_bZoom) {
        const QSignalBlocker blocker(m_pVowelList);
        m_pVowelList->clearSelection();
        m_pVowelList->setCurrentRow(-1);
    } else if (row >= 0 && row < m_pVowelList->count()) {
        // The vowel on the same row of the new page, where the user has put it.
        const int slot = SlotOf(m_nVowelType, row);
        const ChartScale scale = Scale();
        m_nSelX = FrequencyToX(scale, m_pDoc->GetEntryF1(slot, m_nGender, m_nVowelSet));
        m_nSelY = FrequencyToY(scale, m_pDoc->GetEntryF2(slot, m_nGender, m_nVowelSet));
        SetF3(m_pDoc->GetEntryF3(slot, m_nGender, m_nVowelSet));
    }
    Redraw();
}

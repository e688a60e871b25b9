// When the chart plays and when it is drawn again, and the point's formants as last computed.
#pragma once

// The parts of the chart's state report their changes here. A change of what the chart shows
// or of the point asks for the point to be heard; a change beside the chart's own vowels (the
// reference vowels, the recordings) only asks for the chart to be drawn again: what the chart
// plays has not changed.
class PlayDecision {
public:
    // A change of what the chart shows: drawn again and played.
    void Redraw() {
        m_chartRedraw = true;
        m_playPending = true;
    }
    // A change of the point: played (whoever shows the point repaints its markers).
    void Play() { m_playPending = true; }
    // A change beside the chart's own vowels: drawn again, not played.
    void RedrawOnly() { m_chartRedraw = true; }

    // The chart has changed since it was last played.
    bool IsPlayPending() const { return m_playPending; }
    // True once after a change that asked for the point to be heard.
    bool TakePlay() {
        const bool play = m_playPending;
        m_playPending = false;
        return play;
    }
    // True once after a change that redraws the whole chart.
    bool TakeChartRedraw() {
        const bool redraw = m_chartRedraw;
        m_chartRedraw = false;
        return redraw;
    }

    // The selected point's formants in Hz as last computed; 0 before the first computation.
    int F1() const { return m_f1; }
    int F2() const { return m_f2; }
    int F3() const { return m_f3; }
    void SetFormants(int f1, int f2, int f3) {
        m_f1 = f1;
        m_f2 = f2;
        m_f3 = f3;
    }
    void SetF3(int f3) { m_f3 = f3; }

private:
    bool m_playPending = false;
    bool m_chartRedraw = false;
    int m_f1 = 0;
    int m_f2 = 0;
    int m_f3 = 0;
};

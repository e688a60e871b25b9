// What the main frame needs of the chart view and of the application around it.
#pragma once

#include "chart/CommandIds.h"

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

// The view as the frame drives it: commands, their states, its size and the frame's moves.
class IFrameView {
public:
    virtual ~IFrameView() = default;
    virtual QWidget* Widget() = 0;
    virtual void SetVoiceFiles(const std::vector<std::string>* voiceFiles) = 0;
    virtual void OnInitialUpdate() = 0;
    virtual void OnCommand(int id) = 0;
    virtual CommandState OnUpdateCommand(int id) const = 0;
    virtual QSize RequiredClientSize() const = 0;
    virtual void OnFrameMoved(const QRect& frameRect) = 0;
    virtual void OnDestroy() = 0;

    // The view's notices: new status text, a changed size need, changed command states.
    struct Listener {
        std::function<void(const QString&)> statusTextChanged;
        std::function<void()> requiredSizeChanged;
        std::function<void()> commandStatesChanged;
    };
    virtual void Listen(QObject* context, const Listener& listener) = 0;
};

// Adapts any view class with the chart view's operations and signals to IFrameView.
template <class View> class FrameViewAdapter : public IFrameView {
public:
    explicit FrameViewAdapter(View* view) : m_view(view) {}

    QWidget* Widget() override { return m_view; }
    void SetVoiceFiles(const std::vector<std::string>* files) override {
        m_view->SetVoiceFiles(files);
    }
    void OnInitialUpdate() override { m_view->OnInitialUpdate(); }
    void OnCommand(int id) override { m_view->OnCommand(id); }
    CommandState OnUpdateCommand(int id) const override { return m_view->OnUpdateCommand(id); }
    QSize RequiredClientSize() const override { return m_view->RequiredClientSize(); }
    void OnFrameMoved(const QRect& frameRect) override { m_view->OnFrameMoved(frameRect); }
    void OnDestroy() override { m_view->OnDestroy(); }

    void Listen(QObject* context, const Listener& listener) override {
        QObject::connect(m_view, &View::statusTextChanged, context, listener.statusTextChanged);
        QObject::connect(m_view, &View::requiredSizeChanged, context, listener.requiredSizeChanged);
        QObject::connect(m_view, &View::commandStatesChanged, context,
                         listener.commandStatesChanged);
    }

private:
    View* m_view;
};

// The application's share of the frame: its own commands (New, Open, Exit, ...), the
// document's title and the question to save changes before the frame closes.
class IFrameHost {
public:
    virtual ~IFrameHost() = default;
    // handled is false for every command that is not the application's.
    virtual CommandState OnUpdateCommand(int id) const = 0;
    virtual void OnCommand(int id) = 0;
    // "Untitled" or the document's file name.
    virtual std::string DocumentTitle() const = 0;
    // Asks to save a changed document; false keeps the frame open.
    virtual bool SaveModified() = 0;
};

// The program's main window: menus, keys, status bar and the chart view at its fixed size.
#pragma once

#include "app/FrameView.h"
#include "app/MenuTable.h"

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QStatusBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // The host (the application) handles the file commands and knows the document.
    explicit CMainFrame(IFrameHost* host, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Replaces the Voices placeholder by one entry per file, commands 200 + i, the first
    // one checked. Called again, it puts the entries of the new list in place of the old.
    void SetVoiceFiles(const std::vector<std::string>& voiceFiles);

    // Makes the view the frame's client; from now on every command goes through it.
    void SetView(std::unique_ptr<IFrameView> view);
    IFrameView* View() const { return m_view.get(); }

    // "<document title> - Quirnel".
    void UpdateTitle();
    // Sets the checks, enabled states and status panes from the host's and view's states.
    void UpdateCommandStates();
    // Fixes the frame's size so that the view gets exactly the client size it asks for.
    void ApplySizeRule();
    // Evaluates the command's state and, when it is enabled, runs it.
    void ExecuteCommand(int id);

    // The menu entry of a command, or nullptr.
    QAction* MenuAction(int id) const;
    QMenu* VoicesMenu() const { return m_voicesMenu; }
    QString PaneText(int pane) const;

protected:
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QMenu* BuildPopup(const MenuNode& node, QWidget* parent);
    QAction* AddMenuEntry(QMenu* menu, const MenuNode& node);
    void BuildKeys();
    void BuildStatusBar();
    CommandState QueryCommand(int id) const;
    void UpdateStatusPanes();
    void SetViewStatusText(const QString& text);
    void DestroyView();
    int MenuBarHeight(int width) const;

    IFrameHost* m_host;
    std::unique_ptr<IFrameView> m_view;
    bool m_bViewDestroyed = false;
    std::map<int, QAction*> m_menuActions;
    QMenu* m_voicesMenu = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    QLabel* m_paneText = nullptr;
    QLabel* m_paneZoom = nullptr;
    QLabel* m_paneScale = nullptr;
};

#include "app/MainFrame.h"

#include "QuirnelVersion.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

// The icon lives in this library's resources, which a static library must load itself.
static void InitAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace {

constexpr const char* kReady = "Ready";

// A status pane as wide as the widest of its texts.
QLabel* MakePane(QWidget* parent, std::initializer_list<const char*> texts) {
    auto* pane = new QLabel(parent);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    int width = 0;
    for (const char* text : texts)
        width = std::max(width, pane->fontMetrics().horizontalAdvance(QString::fromLatin1(text)));
    pane->setFixedWidth(width + 12);
    return pane;
}

// Only a checked entry is checkable, so that the others show no empty check box. Qt's own
// toggle on triggering is undone by the next state update.
void SetCheckMark(QAction* action, bool checked) {
    action->setCheckable(checked);
    action->setChecked(checked);
}

// File names shown as menu texts: "&" is a character there, not a mnemonic.
// A voice of the user's own folder (a whole path) shows its file name.
QString MenuTextOfFileName(const std::string& name) {
    const std::string shown =
        !name.empty() && name.front() == '/' ? name.substr(name.rfind('/') + 1) : name;
    return QString::fromStdString(shown).replace('&', "&&");
}

} // namespace

CMainFrame::CMainFrame(IFrameHost* host, QWidget* parent) : QMainWindow(parent), m_host(host) {
    BuildMenus();
    BuildKeys();
    BuildStatusBar();
    InitAppResources();
    // The installed theme icon where there is one, else the program's own copy.
    setWindowIcon(QIcon::fromTheme(kQuirnelAppId, QIcon(":/app/quirnel.png")));
    UpdateTitle();
}

CMainFrame::~CMainFrame() {
    DestroyView();
}

void CMainFrame::BuildMenus() {
    for (const MenuNode& popup : MainMenu())
        menuBar()->addMenu(BuildPopup(popup, this));
}

QMenu* CMainFrame::BuildPopup(const MenuNode& node, QWidget* parent) {
    auto* menu = new QMenu(QString::fromUtf8(node.text), parent);
    menu->setToolTipsVisible(true);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    for (const MenuNode& child : node.children) {
        if (child.IsSeparator())
            menu->addSeparator();
        else if (child.IsPopup())
            menu->addMenu(BuildPopup(child, menu));
        else
            AddMenuEntry(menu, child);
    }
    if (std::string(node.text) == "Voices")
        m_voicesMenu = menu;
    return menu;
}

QAction* CMainFrame::AddMenuEntry(QMenu* menu, const MenuNode& node) {
    // The text after "\t" is shown as the key name; the keys themselves are BuildKeys'.
    auto* action = menu->addAction(QString::fromUtf8(node.text));
    action->setData(node.id);
    SetCheckMark(action, node.initiallyChecked);
    if (const char* prompt = CommandPrompt(node.id)) {
        const QStringList parts = QString::fromUtf8(prompt).split('\n');
        action->setStatusTip(parts.front());
        if (parts.size() > 1)
            action->setToolTip(parts.back());
    }
    const int id = node.id;
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    m_menuActions[id] = action;
    return action;
}

void CMainFrame::BuildKeys() {
    std::map<int, QList<QKeySequence>> keysById;
    for (const KeyBinding& binding : KeyTable())
        keysById[binding.id].append(QKeySequence(QString::fromLatin1(binding.key)));
    for (const auto& [id, keys] : keysById) {
        // Always enabled: the command's own state is evaluated when the key is pressed.
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setData(id);
        const int command = id;
        connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
        addAction(action);
    }
}

void CMainFrame::BuildStatusBar() {
    m_wndStatusBar = statusBar();
    m_wndStatusBar->setSizeGripEnabled(false); // the frame has a fixed size
    m_paneText = new QLabel(QString::fromLatin1(kReady), m_wndStatusBar);
    m_paneZoom = MakePane(m_wndStatusBar, {"Zoom"});
    m_paneScale = MakePane(m_wndStatusBar, {"Herz", "Bark"});
    m_wndStatusBar->addWidget(m_paneText, 1);
    m_wndStatusBar->addPermanentWidget(m_paneZoom);
    m_wndStatusBar->addPermanentWidget(m_paneScale);
    UpdateStatusPanes();
}

void CMainFrame::SetVoiceFiles(const std::vector<std::string>& voiceFiles) {
    for (int id = ID_VOICE_FIRST; id <= ID_VOICE_LAST; ++id) {
        if (QAction* old = MenuAction(id)) {
            m_menuActions.erase(id);
            m_voicesMenu->removeAction(old);
            delete old;
        }
    }
    QAction* placeholder = MenuAction(ID_VOICES_PLACEHOLDER);
    for (std::size_t i = 0; i < voiceFiles.size() && i < ID_VOICE_LAST - ID_VOICE_FIRST + 1; ++i) {
        const int id = ID_VOICE_FIRST + static_cast<int>(i);
        QAction* entry = AddMenuEntry(m_voicesMenu, MenuNode{"", id, {}, i == 0});
        entry->setText(MenuTextOfFileName(voiceFiles[i]));
        if (placeholder)
            m_voicesMenu->insertAction(placeholder, entry);
    }
    if (placeholder) {
        m_menuActions.erase(ID_VOICES_PLACEHOLDER);
        m_voicesMenu->removeAction(placeholder);
        delete placeholder;
    }
}

void CMainFrame::SetView(std::unique_ptr<IFrameView> view) {
    m_view = std::move(view);
    m_bViewDestroyed = false;
    setCentralWidget(m_view->Widget());
    IFrameView::Listener listener;
    listener.statusTextChanged = [this](const QString& text) { SetViewStatusText(text); };
    listener.requiredSizeChanged = [this] { ApplySizeRule(); };
    listener.commandStatesChanged = [this] { UpdateCommandStates(); };
    m_view->Listen(this, listener);
    ApplySizeRule();
    UpdateCommandStates();
}

void CMainFrame::UpdateTitle() {
    const std::string title = m_host ? m_host->DocumentTitle() : "Untitled";
    setWindowTitle(QString::fromStdString(title) + " - Quirnel");
}

QAction* CMainFrame::MenuAction(int id) const {
    const auto it = m_menuActions.find(id);
    return it == m_menuActions.end() ? nullptr : it->second;
}

CommandState CMainFrame::QueryCommand(int id) const {
    if (id == ID_FILE_MRU_FILE1 || m_bViewDestroyed)
        return CommandState{false, false}; // the recent-file list is never filled
    if (id == ID_APP_EXIT)
        return CommandState{true, true};
    if (m_host) {
        const CommandState own = m_host->OnUpdateCommand(id);
        if (own.handled)
            return own;
    }
    return m_view ? m_view->OnUpdateCommand(id) : CommandState{};
}

void CMainFrame::ExecuteCommand(int id) {
    const CommandState state = QueryCommand(id);
    if (state.handled && state.enabled) {
        if (id == ID_APP_EXIT)
            close();
        else if (m_host && m_host->OnUpdateCommand(id).handled)
            m_host->OnCommand(id);
        else if (m_view)
            m_view->OnCommand(id);
    }
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
    for (const auto& [id, action] : m_menuActions) {
        const CommandState state = QueryCommand(id);
        action->setEnabled(state.handled && state.enabled);
        SetCheckMark(action, state.checked);
        if (state.text)
            action->setText(QString::fromUtf8(state.text));
    }
    UpdateStatusPanes();
}

void CMainFrame::UpdateStatusPanes() {
    const CommandState zoom = QueryCommand(ID_INDICATOR_ZOOM);
    m_paneZoom->setText(zoom.handled && zoom.enabled ? QStringLiteral("Zoom") : QString());
    const CommandState scale = QueryCommand(ID_INDICATOR_SCALE);
    m_paneScale->setText(scale.text ? QString::fromUtf8(scale.text) : QStringLiteral("Herz"));
    // The reference vowels shown are named, with their study, over the scale pane.
    const CommandState reference = QueryCommand(ID_INDICATOR_REFERENCE);
    m_paneScale->setToolTip(reference.handled && reference.enabled && reference.text
                                ? QString::fromUtf8(reference.text)
                                : QString());
}

void CMainFrame::SetViewStatusText(const QString& text) {
    m_paneText->setText(text.isEmpty() ? QString::fromLatin1(kReady) : text);
}

QString CMainFrame::PaneText(int pane) const {
    const QLabel* panes[] = {m_paneText, m_paneZoom, m_paneScale};
    if (pane < 0 || pane > 2)
        return QString();
    if (pane == 0 && !m_wndStatusBar->currentMessage().isEmpty())
        return m_wndStatusBar->currentMessage();
    return panes[pane]->text();
}

int CMainFrame::MenuBarHeight(int width) const {
    const int height = menuBar()->heightForWidth(width);
    return height > 0 ? height : menuBar()->sizeHint().height();
}

void CMainFrame::ApplySizeRule() {
    if (!m_view)
        return;
    const QSize client = m_view->RequiredClientSize();
    m_view->Widget()->setFixedSize(client);
    const int statusHeight = m_wndStatusBar->sizeHint().height();
    setFixedSize(client.width(), MenuBarHeight(client.width()) + client.height() + statusHeight);
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (m_view && !m_bViewDestroyed)
        m_view->OnFrameMoved(frameGeometry());
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    ApplySizeRule();
    UpdateCommandStates();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_bViewDestroyed && m_host && !m_host->SaveModified()) {
        event->ignore();
        return;
    }
    DestroyView();
    event->accept();
    // The program ends with its main window, even while other windows of it are open.
    QCoreApplication::quit();
}

void CMainFrame::DestroyView() {
    if (!m_view || m_bViewDestroyed)
        return;
    m_bViewDestroyed = true;
    m_view->OnDestroy();
}

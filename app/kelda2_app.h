#pragma once
// The program's application class: start-up (dictionaries, configuration,
// database connection with creation of a missing database, settings store,
// schema upgrade, table set, change watcher), the main window, the
// application strings and pointers, and the clean-up at exit.
#include "base/pavo_app.h"
#include "framework/core/containers/cx_map.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class CCacheClear;
class CMainFrame;

class CKelda2App : public CPavoApp {
    Q_OBJECT
public:
    CKelda2App();
    ~CKelda2App() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool GetSplashScreenInfo(int& bitmapId, int textRect[4]) override;
    xCfgBase2* OnCreateConfigObject() override;
    void InitHelpSystem(const QString& key) override;
    bool OnApplicationInit() override;
    // Reads the command line, then builds the main window and opens the
    // start page.
    bool OnCreateMainWindow() override;
    // The main window with its menus, tool bar and commands, shown, and the
    // document templates registered; false when it cannot be built.
    bool CreateMainFrame();
    bool LoadConfig(bool afterConnect) override;
    QString GetAppString(unsigned id) override;
    QString GetToolTipText(unsigned id, const QString& defaultText) override;
    void* GetAppPointer(const QString& name) override;
    // The commands that open a document answer with its address (queued);
    // a command whose document is not part of the program stays disabled.
    bool OnMapCmdToURL(unsigned id, int code, CxCmdHandlerInfo* info) override;
    // The command address of a command id, empty for other ids.
    static QString CommandAddress(unsigned id);
    // The HTML resource of a kind: 0 the about box's template, 1 none (0);
    // any other kind gives all bits set.
    virtual unsigned GetHTMLResourceID(int kind);
    void* GetBaseClass(unsigned id, const char* name = nullptr) override;

    // The about box (command 57664).
    void OnAppAbout();
    // Opens the start page (command 1651); false while it cannot be opened.
    bool OpenStartPage();
    // The export for the superior organisation (command 1646): refused while
    // a service point has no town.
    void OnExportData();
    void OnImportData();
    // The application's own command handlers.
    void RegisterAppCommands();
    // Those of organisations, exports and database care (care_commands.cpp).
    void RegisterCareCommands();
    // Those of daily sheets filled outside the program (sheet_commands.cpp).
    void RegisterSheetCommands();
    // Writes the sheet stencil and opens it for the user.
    void OnMakeSheetStencil();
    // The restore (command 1661); the program starts again after a restore.
    void OnRestore();
    // Ends this copy of the program and starts a new one.
    void RestartProgram();
    // Tests and scripted runs start no new copy: while a restarter is set,
    // the restart runs it instead. An empty function puts the restart back.
    static void SetRestarter(std::function<void()> restarter);

    CMainFrame* MainFrame() const;
    // The service points chosen for reports ("CSelectedPOSH").
    CxMap<long, QString>& SelectedPOSH() { return m_selectedPOSH; }

    // The texts of the credits, with "{ENDYEAR}" replaced.
    static QString CreditsText();
    // The creation script handed to the connection.
    static QByteArray CreationScript();

private:
    CxMap<long, QString> m_selectedPOSH;
    std::unique_ptr<CCacheClear> m_cacheClear;
};

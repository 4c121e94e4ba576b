#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

class BrowserPage;
class QPrinter;
class QTemporaryDir;
class QWebEngineLoadingInfo;
class QWebEngineView;
class StatusChannel;

// The program's web-browser control: one engine view that a window keeps for
// its whole life and reuses for every page (a view costs about 110 MB).
//
// Pages report through window.status; statusTextChanged() carries each
// report, in order. Reports travel asynchronously, so call flushStatus()
// before reading the answer a page reported.
//
// Local files show through the program's own page addresses (see
// PageGuard): a file: URL or base URL given here is turned into one, and
// the folder it names (or the folder of the file) is served from then on.
// A link the user clicks is never followed in the view: it goes to the
// link handler the program installed.
class BrowserView : public QWidget {
    Q_OBJECT
public:
    explicit BrowserView(QWidget* parent = nullptr);
    ~BrowserView() override;

    // Shows an HTML text as a page.
    // Relative references (images, scripts, frames) resolve against baseUrl,
    // normally the file: URL of a folder ending in "/". A page too long for
    // the engine's data: URL goes through a temporary file instead.
    void writeHtml(const QString& html, const QUrl& baseUrl = QUrl());

    // Navigate/Navigate2: a URL ("about:blank", "file:///...", "http://...")
    // or a local file path. A javascript: URL runs in the page shown.
    void navigate(const QString& urlOrPath);
    void navigate(const QUrl& url);
    void refresh();
    // GoBack. False when there is no page to go back to.
    bool goBack();
    // LocationURL: the URL of the page shown, or of the page being loaded.
    // A written page reports its base URL.
    QString locationUrl() const;

    // Waits until the page last asked for has loaded. False on timeout.
    bool waitForLoad(int timeoutMs = 10000);

    // Stops the right-click menu of the page (page scripts cannot).
    void setContextMenuBlocked(bool blocked);

    // ExecWB print. Prints the loaded page; printFinished() follows. The
    // printer must live until then.
    void print(QPrinter* printer);
    // Waits for the page to load, prints it and waits for the printout.
    bool printAndWait(QPrinter* printer, int timeoutMs = 30000);
    // Writes the page as PDF; pdfPrintingFinished() follows.
    void printToPdf(const QString& filePath);
    bool printToPdfAndWait(const QString& filePath, int timeoutMs = 30000);

    // Runs a script in the page and waits for its result (tests, glue code).
    QVariant runScript(const QString& script, int timeoutMs = 5000, bool* arrived = nullptr);

    // Delivers every report made so far, including the onblur/onchange
    // report of a text box that still has the focus. Call before every
    // answer check. False when the page did not answer in time.
    bool flushStatus(int timeoutMs = 2000);

    // Receives every link the user clicks in any view, with the view.
    using LinkHandler = std::function<void(const QUrl& url, QWidget* view)>;
    static void setLinkHandler(LinkHandler handler);

    QWebEngineView* view() const { return m_view; }
    BrowserPage* page() const { return m_page; }

signals:
    // One per window.status assignment of the page, in order; reports of a
    // page that has been replaced are dropped.
    void statusTextChanged(const QString& text);
    // NavigateComplete: a navigation (not a written page) has loaded.
    void navigationComplete(const QUrl& url);
    // Any page, written or navigated to, has finished loading.
    void loadFinished(bool ok);
    void printFinished(bool ok);
    void pdfPrintingFinished(const QString& filePath, bool ok);
    // The user clicked a link (already handed to the link handler).
    void linkClicked(const QUrl& url);

private:
    // What the load in progress was asked for by: a navigation of ours (or
    // none: a link followed inside the page) raises navigationComplete, a
    // written page and a refresh do not.
    enum class LoadKind { None, Navigate, Write, Refresh };

    void beginLoad(LoadKind kind);
    void showPageMenu(const QPoint& at);
    void onLoadFinished(bool ok);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    // Frees the script heap of pages written over (collected only under
    // memory pressure otherwise).
    void collectDroppedPages();
    QUrl writeToFile(const QString& html, const QUrl& baseUrl);

    QWebEngineView* m_view;
    BrowserPage* m_page;
    StatusChannel* m_channel;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QUrl m_fileUrl;         // the temporary file of the last long written page
    QUrl m_fileBase;        // its base URL
    QString m_previousFile; // the one before, kept for GoBack
    int m_fileSerial = 0;
    int m_writtenSinceCollection = 0;
    LoadKind m_loadKind = LoadKind::None;    // of the load in progress
    LoadKind m_lastRequest = LoadKind::None; // of the last load asked for
    bool m_loadRequested = false;
};

#include "app/TreeChecker.h"

#include "script/check/ScriptChecker.h"
#include "scripttree/ScriptWriter.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace {

// Small scripts are checked almost at once; from this many roots on, only
// once the user has paused.
constexpr int kBigScriptRoots = 500;
constexpr int kShortPauseMs = 40;
constexpr int kLongPauseMs = 600;
// Roots written between two looks at the user's events (a few ms each).
constexpr int kRootsPerSlice = 100;

} // namespace

CTreeChecker::CTreeChecker(const CTreeOptionsCtrl &tree, std::function<const CSynchArray &()> document, QObject *parent)
    : QObject(parent)
    , m_tree(tree)
    , m_document(std::move(document))
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &CTreeChecker::StartRun);
    m_slice.setSingleShot(true);
    connect(&m_slice, &QTimer::timeout, this, &CTreeChecker::WriteSlice);
}

CTreeChecker::~CTreeChecker()
{
    ++*m_generation; // running workers drop their results
}

void CTreeChecker::StopWriting()
{
    m_slice.stop();
    m_writer.reset();
    m_pWriterDocument = nullptr;
}

void CTreeChecker::Schedule()
{
    ++*m_generation;
    StopWriting();
    m_pause.start(m_tree.topLevelItemCount() >= kBigScriptRoots ? kLongPauseMs : kShortPauseMs);
}

QString CTreeChecker::TreeText() const
{
    return CScriptWriter(m_document(), m_tree).ScriptText();
}

void CTreeChecker::CheckNow()
{
    m_pause.stop();
    StopWriting();
    const int generation = ++*m_generation;
    auto result = std::make_shared<CheckResult>();
    CScriptChecker::CheckText(m_document().m_ScriptFile.m_strPath, TreeText(), result->document, result->problems);
    Deliver(generation, std::move(result));
}

void CTreeChecker::Hurry()
{
    if (!m_pause.isActive())
        return;
    m_pause.stop();
    StartRun();
}

void CTreeChecker::StartRun()
{
    // The tree is read here, on its own thread, in slices; the rest runs on a worker.
    m_nWriterGeneration = *m_generation;
    m_pWriterDocument = &m_document();
    m_writer = std::make_unique<CScriptWriter>(*m_pWriterDocument, m_tree);
    m_writer->Begin();
    m_nNextRoot = 0;
    WriteSlice();
}

void CTreeChecker::WriteSlice()
{
    // A run the tree or the document has changed under is abandoned.
    if (!m_writer || m_nWriterGeneration != *m_generation || m_pWriterDocument != &m_document()) {
        StopWriting();
        return;
    }
    m_writer->WriteRoots(m_nNextRoot, kRootsPerSlice);
    m_nNextRoot += kRootsPerSlice;
    if (m_nNextRoot < m_tree.topLevelItemCount()) {
        m_slice.start(0);
        return;
    }
    QString text = m_writer->End();
    StopWriting();
    const int generation = m_nWriterGeneration;
    const QString path = m_document().m_ScriptFile.m_strPath;
    std::shared_ptr<std::atomic<int>> current = m_generation;
    QPointer<CTreeChecker> self(this);
    QThreadPool::globalInstance()->start([=, text = std::move(text)]() {
        if (*current != generation)
            return;
        auto result = std::make_shared<CheckResult>();
        CScriptChecker::CheckText(path, text, result->document, result->problems);
        if (*current != generation)
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, generation, result]() mutable {
                if (self)
                    self->Deliver(generation, std::move(result));
            },
            Qt::QueuedConnection);
    });
}

void CTreeChecker::Deliver(int generation, std::shared_ptr<const CheckResult> result)
{
    if (generation != *m_generation)
        return;
    m_latest = std::move(result);
    m_nLatestGeneration = generation;
    emit Checked();
}

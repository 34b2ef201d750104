#include "app/LeftCopyOffer.h"

#include "framework/FileBytes.h"
#include "framework/FileError.h"
#include "framework/FileName.h"
#include "framework/FileSaver.h"
#include "framework/ModalUi.h"
#include "framework/SaveCopies.h"

#include <QDateTime>
#include <QLocale>

#include <sys/stat.h>

namespace {

QString SizeAndTime(qint64 size, const QDateTime &time)
{
    return QStringLiteral("%1 bytes, %2").arg(QLocale().toString(size), QLocale().toString(time, QLocale::LongFormat));
}

} // namespace

void CLeftCopyOffer::Offer(const QString &path)
{
    const QString file = ShownFileName(path);
    for (const CSaveCopies::Copy &copy : CSaveCopies::LeftFor(path)) {
        const QString question =
            QStringLiteral("A save of \"%1\" was cut short, so the file may be incomplete. What it "
                           "held before is kept in \"%2\".")
                .arg(file, ShownFileName(copy.path));
        const QStringList choices{QStringLiteral("Restore"), QStringLiteral("Keep the file"),
                                  QStringLiteral("Show both sizes and times")};
        int chosen = ModalUi().AskChoice(question, choices);
        while (chosen == 2) {
            struct stat now
            {
            };
            const bool there = ::stat(CFileSaver::Native(path).constData(), &now) == 0;
            const QString fileNow =
                there ? SizeAndTime(now.st_size, QDateTime::fromMSecsSinceEpoch(now.st_mtim.tv_sec * 1000
                                                                                + now.st_mtim.tv_nsec / 1000000))
                      : QStringLiteral("gone");
            ModalUi().ShowMessage(QStringLiteral("The file \"%1\": %2.\nThe copy of what it held before: %3.")
                                      .arg(file, fileNow, SizeAndTime(copy.size, copy.time)));
            chosen = ModalUi().AskChoice(question, choices);
        }
        if (chosen == 0) {
            QByteArray bytes;
            QString cause;
            CFileSaver saver;
            if (!ReadFileBytes(copy.path, qint64(1) << 40, bytes, cause) || !saver.Save(path, bytes)) {
                ReportFileError(QStringLiteral("restore"), path, cause.isEmpty() ? saver.Cause() : cause);
                continue;
            }
        }
        if (chosen == 0 || chosen == 1)
            CSaveCopies::Remove(copy);
    }
}

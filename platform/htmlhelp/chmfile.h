#pragma once
// One compiled help file, read whole when it is opened: its pages by path,
// and what its system record says of it (title, default page, sitemaps).
#include "htmlhelp/chmpages.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

class ChmFile
{
public:
    enum class Problem { None, Missing, Damaged };

    // Opens the file and checks that it can be read: null when it is
    // missing or unreadable (Missing), or not a help file, or damaged
    // anywhere, or without a first page to show (Damaged).
    static std::unique_ptr<ChmFile> open(const QString &path, Problem *problem = nullptr);
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    QString path() const { return m_path; }
    QString title() const { return m_title; }
    // Paths inside the file, each beginning with "/".
    QString defaultPage() const { return m_defaultPage; }
    QString contentsFile() const { return m_contentsFile; }
    QString indexFile() const { return m_indexFile; }

    // Paths are compared without regard to case, as the file's directory does.
    bool contains(const QString &path) const;
    // The whole object at path; a null array when it is missing.
    QByteArray read(const QString &path) const;

    // "start.html", "/start.html", "ms-its:x.chm::/start.html#a" -> "/start.html".
    static QString normalise(const QString &local);

private:
    ChmFile(QList<chmpages::Page> pages, const QString &path);
    void readSystemRecord();
    QString findByExtension(const char *extension) const;

    QList<chmpages::Page> m_pages;
    QHash<QString, qsizetype> m_byPath; // lower case -> index in m_pages
    QString m_path;
    QString m_title;
    QString m_defaultPage;
    QString m_contentsFile;
    QString m_indexFile;
};

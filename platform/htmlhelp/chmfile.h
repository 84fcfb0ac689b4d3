#pragma once
// One compiled help file opened with chmlib: its pages by path, and what
// its system record says of it (title, default page, sitemap files).
#include <QByteArray>
#include <QString>

#include <memory>

struct chmFile;

class ChmFile
{
public:
    // Opens the file and checks that it can be read: null when it is
    // missing, not a help file, or too damaged to show its first page.
    static std::unique_ptr<ChmFile> open(const QString &path);
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    QString path() const { return m_path; }
    QString title() const { return m_title; }
    // Paths inside the file, each beginning with "/".
    QString defaultPage() const { return m_defaultPage; }
    QString contentsFile() const { return m_contentsFile; }
    QString indexFile() const { return m_indexFile; }

    bool contains(const QString &path) const;
    // The whole object at path; a null array when it is missing or unreadable.
    QByteArray read(const QString &path) const;

    // "start.html", "/start.html", "ms-its:x.chm::/start.html#a" -> "/start.html".
    static QString normalise(const QString &local);

private:
    ChmFile(chmFile *handle, const QString &path);
    void readSystemRecord();
    QString findByExtension(const char *extension) const;

    chmFile *m_handle;
    QString m_path;
    QString m_title;
    QString m_defaultPage;
    QString m_contentsFile;
    QString m_indexFile;
};

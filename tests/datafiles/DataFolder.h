// A throw-away program folder for loader tests: files are written byte by
// byte, loaders read them through a LoadContext that collects diagnostics.
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in assertion messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class DataFolder {
public:
    DataFolder() { ctx.appFolder = dir.path() + u'/'; ctx.diagnostics = &diagnostics; }

    // Writes raw bytes to a path relative to the program folder.
    void write(const QString& rel, const QByteArray& bytes) const
    {
        const QString path = ctx.path(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray read(const QString& rel) const
    {
        QFile f(ctx.path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Campaign n named `name`, its folder created ("Campaign.0n.name/").
    void addCampaign(int n, const QString& name)
    {
        if (campaigns.size() <= static_cast<size_t>(n))
            campaigns.resize(static_cast<size_t>(n) + 1);
        campaigns[static_cast<size_t>(n)].Name = name;
        QDir().mkpath(ctx.path(folder(n)));
    }

    QString folder(int n) const { return modCampaigns::CampaignFolder(n, campaigns); }

    // Line numbers of the diagnostics, in the order they were recorded.
    std::vector<int> warnedLines() const
    {
        std::vector<int> lines;
        for (const auto& d : diagnostics.items())
            lines.push_back(d.line);
        return lines;
    }

    QTemporaryDir dir;
    records::Diagnostics diagnostics;
    LoadContext ctx;
    CampaignTable campaigns;
};

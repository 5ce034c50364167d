#pragma once

#include "appex.h"
#include "copyannotation.h"

#include <QStringList>

#include <optional>

// What a catalogue tells of one extension's copies: which one the system
// uses, why each other one is not used, and the tool's commands that change
// that. What `zephlist-cli --explain` prints and the details pane shows.
struct CopiesExplanation
{
    // Whether a copy is the one the system uses, as far as the listing tells.
    enum class Use { InUse, NotUsed, Unknown };

    struct Copy
    {
        Appex record;
        Use use;
        CopyAnnotation::Place place;
        bool olderVersion; // than the copy in use
    };

    QString identifier;
    QString name;
    QString category;
    AppexElection election; // of the copy in use, or of the first copy
    QList<Copy> copies;     // the copy in use first, then in the records' order

    // The copies of `identifier` among `records`; none when it has none.
    [[nodiscard]] static std::optional<CopiesExplanation> of(const AppexList &records,
                                                             const QString &identifier);
    // Up to `most` identifiers of `records` close to `identifier` by name,
    // closest first: for a mistyped one.
    [[nodiscard]] static QStringList closestIdentifiers(const AppexList &records,
                                                        const QString &identifier, int most = 3);

    // The tool's commands that make the system use each other copy, and
    // that remove the registrations of the stale ones, as a shell reads them.
    [[nodiscard]] QStringList useCommands() const;
    [[nodiscard]] QStringList removeCommands() const;
};

#include "outputfile.h"

#include "outputfilewriter.h"

namespace OutputFile {

std::optional<QString> write(const QString &path, QByteArrayView data, SpecialFiles special,
                             const WriteFunction &writeSome)
{
    OutputFileWriter file(path, special, writeSome);
    if (std::optional<QString> failure = file.write(data))
        return failure;
    return file.commit();
}

} // namespace OutputFile

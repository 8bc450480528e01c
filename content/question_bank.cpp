#include "content/question_bank.h"

#include <QResource>
#include <QString>
#include <stdexcept>

namespace content {

std::vector<unsigned char> PictureFile(const QuestionPicture& picture) {
    const QResource resource(
        QString::fromUtf8(picture.resource.data(), static_cast<qsizetype>(picture.resource.size())));
    if (!resource.isValid()) throw std::out_of_range("no such picture among the resources");
    const QByteArray file = resource.uncompressedData();
    return {file.begin(), file.end()};
}

}  // namespace content

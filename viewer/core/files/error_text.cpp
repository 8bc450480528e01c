#include "viewer/core/files/error_text.h"

#include <cerrno>

namespace viewer {

std::string SystemErrorText(int error) {
    switch (error) {
        case ENOENT: return "нет такого файла или папки";
        case ENOTDIR: return "часть пути — не папка";
        case EISDIR: return "это папка, а не файл";
        case EACCES:
        case EPERM: return "нет доступа";
        case EROFS: return "диск доступен только для чтения";
        case ENOSPC: return "на диске нет места";
        case EDQUOT: return "исчерпана дисковая квота";
        case EEXIST: return "файл уже существует";
        case ENAMETOOLONG: return "слишком длинное имя файла";
        case EMFILE:
        case ENFILE: return "открыто слишком много файлов";
        case ENOMEM: return "не хватает памяти";
        case EIO: return "ошибка ввода-вывода";
        case EBUSY:
        case ETXTBSY: return "файл занят";
        case ELOOP: return "слишком много символических ссылок в пути";
        case EFBIG: return "файл слишком велик";
        case EXDEV: return "файл нельзя перенести на другой диск";
        case EINVAL: return "недопустимое имя или параметр";
        default: return "системная ошибка " + std::to_string(error);
    }
}

}  // namespace viewer

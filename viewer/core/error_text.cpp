#include "viewer/core/error_text.h"

#include <xlsxwriter.h>

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

std::string XlsxErrorText(int error, int errorNumber) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED: return "не хватает памяти";
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return errorNumber != 0 ? SystemErrorText(errorNumber) : "ошибка при записи архива книги";
        case LXW_ERROR_ZIP_BAD_ZIP_FILE: return "книга слишком велика для формата XLSX";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED: return "текст ячейки длиннее 32 767 знаков";
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE: return "строк больше, чем вмещает лист";
        default: return "внутренняя ошибка библиотеки XLSX (код " + std::to_string(error) + ")";
    }
}

}  // namespace viewer

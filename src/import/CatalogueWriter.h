#pragma once

#include <QString>

class FileRowModel;
class ProgressSink;
class TLCommFunction;
class TdmQL;

// Stores the rows of an import as the file records of a disc.
class CatalogueWriter {
public:
    // Writes every row under the code of the disc named discName, in one transaction with
    // one prepared insert: name, size and date text as the rows hold them, the folder
    // without its drive letter and colon. Progress every hundred rows; the stop request
    // rolls the transaction back at once. A disc that cannot be found, or an insert that
    // fails, leaves no file record of this import and is reported through ShowError.
    // Ends with "完成导入" and the progress bar reset, whatever happened.
    static void StoreDiscFiles(TdmQL &dm, TLCommFunction &commFunction, const FileRowModel &rows,
                               const QString &discName, ProgressSink &progress);
};

// Database and runtime errors: an exception carrying number, description and source, so
// the program's detailed messages ("<tag><description> | No: <number> | Src: <source>")
// can be formed.
// Header-only: the runtime helpers raise it too, and they sit below this library.
#pragma once

#include <QString>
#include <exception>
#include <string>
#include <utility>

namespace ado {

class Error : public std::exception {
public:
    Error(long number, QString description, QString source = QStringLiteral("Lumora.Database"))
        : number_(number), description_(std::move(description)), source_(std::move(source)),
          what_((description_ + QStringLiteral(" (") + QString::number(number_) + QStringLiteral(")"))
                    .toStdString())
    {
    }
    long Number() const { return number_; }
    const QString& Description() const { return description_; }
    const QString& Source() const { return source_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    long number_;
    QString description_;
    QString source_;
    std::string what_;
};

// Error numbers used across the layer.
namespace err {
constexpr long InvalidUseOfNull = 94;
constexpr long TypeMismatch = 13;
constexpr long Overflow = 6;
constexpr long DivisionByZero = 11;
constexpr long InvalidProcedureCall = 5;
constexpr long SyntaxError = -2147217900;        // statement the engine refuses
constexpr long ObjectClosed = 3704;              // operation not allowed when the object is closed
constexpr long NoCurrentRecord = 3021;           // BOF or EOF is true, or the record was deleted
constexpr long ReadOnly = 3251;                  // operation not supported by the provider (lock type)
constexpr long ItemNotFound = 3265;              // item not found in the collection
constexpr long ConnectFailed = -2147467259;      // file missing / cannot open
constexpr long FilterInvalid = 3001;             // arguments of the wrong type or out of range
constexpr long ObjectOpen = 3705;                // operation not allowed when the object is open
constexpr long NoConnection = 3709;              // no usable connection for the operation
constexpr long NoTransaction = -2147168242;      // commit or rollback without a transaction
constexpr long InTransaction = 3246;             // explicit close while in a transaction
constexpr long EngineFailure = -2147467259;      // the engine failed while running a statement
constexpr long RowNotFound = -2147217864;        // the row to update or delete is gone
// Files, with the runtime's numbers, and whole database files.
constexpr long FileNotFound = 53;
constexpr long FileExists = 58;
constexpr long DiskFull = 61;
constexpr long PermissionDenied = 70;
constexpr long FileAccess = 75;                  // cannot be read or written, for another reason
constexpr long PathNotFound = 76;
constexpr long FileInUse = 3045;                 // another program holds the database file
constexpr long FileDamaged = 3049;               // not a database, or one that fails its check
constexpr long WrongDatabase = 3343;             // a sound database, but not the one expected
} // namespace err

// The runtime's "Overflow": a number too large for where it goes.
[[noreturn]] inline void raiseOverflow()
{
    throw Error(err::Overflow, QStringLiteral("Overflow"), QStringLiteral("Lumora"));
}

} // namespace ado

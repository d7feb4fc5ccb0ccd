// The save of a month (and its export to the page tables) as one unit of work, and the
// skip-a-failing-statement helper every Form 10 step shares.
//
// Every step of the save opens "a new connection" (procOpenForm10DB); connections on one
// file share one SQLite handle, so a transaction begun here spans all of them: the save
// either completes or leaves the stored month as it was.
//
// Several steps skip failing statements by design (a summary loader that finds no key row,
// a reader meeting a Null column). Inside a save, a skipped statement that failed for a
// database reason (a missing table or column, a refused write) is recorded, and the save
// rolls back when the step returns; the expected "no current row" and "Null" failures are
// not.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace ado {
class Connection;
class Error;
}

namespace f10 {

// The first failure of a save: which step, which row, what went wrong.
struct SaveFailure {
    QString step;
    QString where;
    QString description;
    long number = 0;
    bool any() const { return !step.isEmpty() || !description.isEmpty(); }
};

class SaveUnit {
public:
    // Opens the Form 10 database and begins the transaction; raises when it cannot.
    SaveUnit();
    // Rolls back unless commit() ran.
    ~SaveUnit();
    SaveUnit(const SaveUnit&) = delete;
    SaveUnit& operator=(const SaveUnit&) = delete;

    void commit();

    // The save in progress, or nullptr.
    static SaveUnit* active();

    // Names the step about to run (and forgets the row of the step before).
    void step(const QString& name);
    // Names the row being written, for the failure message.
    void where(const QString& place);
    // Raises the first skipped failure recorded since the save began, if any.
    void checkpoint();

    // Records a failure (the first one wins).
    void note(long number, const QString& description);
    void note(const ado::Error& error);
    const SaveFailure& failure() const { return failure_; }

    // Test hook: called with the step name before every step of a save.
    static std::function<void(const QString& step)>& beforeStepHook();

private:
    std::shared_ptr<ado::Connection> connection_;
    SaveFailure failure_;
    QString step_;
    QString where_;
    bool done_ = false;
    SaveUnit* outer_ = nullptr;
};

// Runs work as one unit: the database opened and a transaction begun, committed when the
// work returns, rolled back when it raises. Returns the first failure, with the step it
// happened in (empty when the unit committed). Save and Export run this way.
SaveFailure runAsOneUnit(const std::function<void(SaveUnit&)>& work);

// The message for a unit that did not commit: head, then what the failed step was doing
// (describeStep of its name; the opening of the database when no step had begun), the row
// when one was named, the reason and its number, and last the tail that says what is unchanged.
QString unitFailureMessage(const SaveFailure& f, const QString& head,
                           const std::function<QString(const QString& step)>& describeStep, const QString& tail);

// Runs one statement of a skip-on-error procedure. A failure is swallowed; inside a save,
// a database failure is recorded first. Returns true when the statement ran.
bool skip(const std::function<void()>& statement);

// Whether a failure is one that skip-on-error procedures meet in normal use.
bool isExpectedSkip(long number);

} // namespace f10

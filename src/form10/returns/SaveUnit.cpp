// The save's transaction, its failure record and the skip-a-failing-statement helper.
#include "form10/returns/SaveUnit.h"

#include "form10/registers/Module2.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"

#include <optional>

namespace f10 {

namespace {
SaveUnit* g_active = nullptr;
}

bool isExpectedSkip(long number)
{
    // No current row (an empty key lookup), Null read into a value, a value that is not a
    // number, and the follow-on use of a recordset whose open already failed.
    return number == ado::err::NoCurrentRecord || number == ado::err::InvalidUseOfNull
           || number == ado::err::TypeMismatch || number == ado::err::ObjectClosed;
}

SaveUnit::SaveUnit()
{
    connection_ = openForm10Connection();
    connection_->BeginTrans();
    outer_ = g_active;
    g_active = this;
}

SaveUnit::~SaveUnit()
{
    g_active = outer_;
    if (!done_ && connection_) {
        try {
            connection_->RollbackTrans();
        } catch (...) {
            // Nothing more can be done here; the engine rolls back an unfinished
            // transaction when the handle is released.
        }
    }
}

void SaveUnit::commit()
{
    checkpoint();
    connection_->CommitTrans();
    done_ = true;
}

SaveUnit* SaveUnit::active()
{
    return g_active;
}

void SaveUnit::step(const QString& name)
{
    checkpoint();
    step_ = name;
    where_.clear();
    if (auto& hook = beforeStepHook())
        hook(name);
}

void SaveUnit::where(const QString& place)
{
    where_ = place;
}

void SaveUnit::checkpoint()
{
    if (failure_.any())
        throw ado::Error(failure_.number, failure_.description, QStringLiteral("Lumora.Save"));
}

void SaveUnit::note(long number, const QString& description)
{
    if (failure_.any())
        return;
    failure_.step = step_;
    failure_.where = where_;
    failure_.number = number;
    failure_.description = description.isEmpty() ? QStringLiteral("unknown failure") : description;
}

void SaveUnit::note(const ado::Error& error)
{
    note(error.Number(), error.Description());
}

std::function<void(const QString&)>& SaveUnit::beforeStepHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

SaveFailure runAsOneUnit(const std::function<void(SaveUnit&)>& work)
{
    std::optional<SaveUnit> unit;
    SaveFailure failure;
    auto fail = [&](long number, const QString& description) {
        if (unit) {
            unit->note(number, description);
            failure = unit->failure();
        } else {
            failure = {QString(), QString(), description, number};
        }
    };
    try {
        unit.emplace();
        work(*unit);
        unit->commit();
    } catch (const ado::Error& e) {
        fail(e.Number(), e.Description());
    } catch (const std::exception& e) {
        fail(0, QString::fromLocal8Bit(e.what()));
    }
    return failure;   // the unit rolls back as it goes, unless committed
}

QString unitFailureMessage(const SaveFailure& f, const QString& head,
                           const std::function<QString(const QString& step)>& describeStep, const QString& tail)
{
    QString text = head;
    text += f.step.isEmpty() ? QStringLiteral("opening the Form 10 database") : describeStep(f.step);
    if (!f.where.isEmpty())
        text += QStringLiteral(", at ") + f.where;
    text += QStringLiteral(":\n") + f.description;
    if (f.number != 0)
        text += QStringLiteral(" | No: ") + QString::number(f.number);
    return text + QStringLiteral("\n\n") + tail;
}

bool skip(const std::function<void()>& statement)
{
    try {
        statement();
        return true;
    } catch (const ado::Error& e) {
        if (g_active && !isExpectedSkip(e.Number()))
            g_active->note(e);
    } catch (const std::exception& e) {
        if (g_active)
            g_active->note(0, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace f10

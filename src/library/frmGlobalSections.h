// The reusable grid search screen of the law library. It knows no law table: its owner
// configures it through properties, hands it a recordset and loads its grid. Typing in the
// search box narrows the rows; Go either shows the chosen row's document itself or hands the
// chosen value to the owner (GoClicked); Back, or a close by the frame, hides the screen and
// raises BackClicked.
#pragma once

#include "platform/db/Recordset.h"
#include "platform/db/Variant.h"
#include "platform/ui/forms/Form.h"

#include <QFont>
#include <QPointer>

class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace ui {
class CommandButton;
class DataGrid;
class TextBox;
}

class frmGlobalSections : public ui::Form {
    Q_OBJECT
public:
    explicit frmGlobalSections(QWidget* parent = nullptr);
    ~frmGlobalSections() override;

    // The statement of the last Go that raised GoClicked.
    QString QueryString() const { return queryString_; }

    bool DontShowOleForm() const { return dontShowOleForm_; }
    void setDontShowOleForm(bool value) { dontShowOleForm_ = value; }
    qint32 HiddenIDIndex() const { return hiddenIDIndex_; }
    void setHiddenIDIndex(qint32 value) { hiddenIDIndex_ = value; }
    // Keeps a read-only clone; the caller's recordset is never bound or filtered. Raises
    // ado::Error 91 when given no recordset.
    ado::RecordsetPtr RecSet() const { return recSet_; }
    void setRecSet(const ado::RecordsetPtr& recordset);
    QString ConnectionString() const { return connectionString_; }
    void setConnectionString(const QString& value) { connectionString_ = value; }
    qint16 PredicateValueColumnIndex() const { return predicateValueColumnIndex_; }
    void setPredicateValueColumnIndex(qint16 value) { predicateValueColumnIndex_ = value; }
    QString OleColumnName() const { return oleColumnName_; }
    void setOleColumnName(const QString& value) { oleColumnName_ = value; }
    QString OleTableName() const { return oleTableName_; }
    void setOleTableName(const QString& value) { oleTableName_ = value; }
    QString PredicateColumnName() const { return predicateColumnName_; }
    void setPredicateColumnName(const QString& value) { predicateColumnName_ = value; }
    QString AdditionalSearchConditions() const { return additionalSearchConditions_; }
    void setAdditionalSearchConditions(const QString& value) { additionalSearchConditions_ = value; }
    qint16 DetailIndex() const { return detailIndex_; }
    void setDetailIndex(qint16 value) { detailIndex_ = value; }
    qint16 SearchColumnIndex() const { return searchColumnIndex_; }
    void setSearchColumnIndex(qint16 value) { searchColumnIndex_ = value; }
    qint16 AutoSizeColumnIndex() const { return autoSizeColumnIndex_; }
    void setAutoSizeColumnIndex(qint16 value) { autoSizeColumnIndex_ = value; }
    QString Header() const;
    void setHeader(const QString& text);
    qint16 MinimumRowHeight() const { return minimumRowHeight_; }
    void setMinimumRowHeight(qint16 value) { minimumRowHeight_ = value; }
    qint16 MaximumRowHeight() const { return maximumRowHeight_; }
    void setMaximumRowHeight(qint16 value) { maximumRowHeight_ = value; }

    // Binds the grid to RecSet and sets up its columns. Always true.
    bool LoadGridData();

    // Appearance: a colour of 0 or more (0xBBGGRR) is set first; the result is the colour
    // in force. A negative colour, or no font, only reads.
    qint32 GetSetBackColor(qint32& colour);
    qint32 GetSetFrameBackColor(qint32& colour);
    qint32 GetSetGridBackColor(qint32& colour);
    qint32 GetSetGridForeColor(qint32& colour);
    QFont GetSetGridFont(const QFont* font);

    // Go and Back, as the buttons (and Enter, Escape, a double click) run them.
    void cmdGO_Click();
    void cmdBack_Click();

signals:
    void GoClicked(frmGlobalSections* sender, ado::Variant& value);
    void BackClicked(frmGlobalSections* sender);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChangeSelection();
    void ShowDetail();
    void FilterRec();
    void AutoSizeColumn();
    void applyRowHeightBounds();
    void SetFocusTo(QWidget* control);
    void FocusForm();
    ado::Variant predicateValue() const;
    QString cellText(int column) const;
    void txtSearch_KeyDown(int& keyCode, int shift);
    void txtSearch_KeyPress(int& keyAscii);
    void routeCharacterToSearch(int& keyAscii);
    void doubleClickGo();

    QGroupBox* frameContent = nullptr;
    QLabel* lblWordSearch = nullptr;
    ui::TextBox* txtSearch = nullptr;
    QPlainTextEdit* txtDetail = nullptr;
    ui::DataGrid* DataGrid1 = nullptr;
    ui::CommandButton* cmdGO = nullptr;
    ui::CommandButton* cmdBack = nullptr;

    QString queryString_;
    bool dontShowOleForm_ = false;
    qint32 hiddenIDIndex_ = 0;
    ado::RecordsetPtr recSet_;
    QString connectionString_;
    qint16 predicateValueColumnIndex_ = 0;
    QString oleColumnName_;
    QString oleTableName_;
    QString predicateColumnName_;
    QString additionalSearchConditions_;
    qint16 detailIndex_ = 0;
    qint16 searchColumnIndex_ = 0;
    qint16 autoSizeColumnIndex_ = 0;
    qint16 minimumRowHeight_ = 0;
    qint16 maximumRowHeight_ = 0;
};

#include "platform/controls/BoundControls.h"

#include "platform/dao/RecordEdit.h"
#include "platform/forms/guarded.h"

namespace platform {

namespace {

// The field's value in the current record, or nothing when there is no current record.
std::optional<dao::Variant> currentValue(DataControl* source, const QString& field)
{
    if (!source || field.isEmpty() || !source->hasRecordset())
        return std::nullopt;
    dao::Recordset& rs = source->Recordset();
    if (!rs.hasCurrentRecord())
        return std::nullopt;
    return rs.Fields(field).Value();
}

}  // namespace

BoundLabel::~BoundLabel()
{
    if (source_)
        source_->unbind(this);
}

void BoundLabel::setBinding(DataControl* source, const QString& field)
{
    if (source_)
        source_->unbind(this);
    source_ = source;
    field_ = field;
    if (source_ && !field_.isEmpty())
        source_->bind(this);
}

void BoundLabel::setCaption(const QString& caption)
{
    if (caption == text())
        return;
    setText(caption);
    if (change_)
        guarded(change_);
}

void BoundLabel::showRecord()
{
    std::optional<dao::Variant> v;
    try {
        v = currentValue(source_, field_);
    } catch (const dao::Error&) {
        v.reset();
    }
    setCaption(v ? v->toString() : QString());
}

BoundTextBox::BoundTextBox(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] { dataChanged_ = true; });
}

BoundTextBox::~BoundTextBox()
{
    if (source_)
        source_->unbind(this);
}

void BoundTextBox::setBinding(DataControl* source, const QString& field)
{
    if (source_)
        source_->unbind(this);
    source_ = source;
    field_ = field;
    dataChanged_ = false;
    if (source_ && !field_.isEmpty())
        source_->bind(this);
}

void BoundTextBox::showRecord()
{
    std::optional<dao::Variant> v;
    try {
        v = currentValue(source_, field_);
    } catch (const dao::Error&) {
        v.reset();
    }
    const QString shown = v ? v->toString() : QString();
    if (shown != text())
        setText(shown);
    dataChanged_ = false;
}

void BoundTextBox::writeRecord()
{
    if (!dataChanged_ || !currentValue(source_, field_))
        return;
    dao::Recordset& rs = source_->Recordset();
    dao::RecordEdit edit(rs);
    rs.Fields(field_).setValue(text().isEmpty() ? dao::Variant::null() : dao::Variant(text()));
    edit.Update();
    dataChanged_ = false;
}

}  // namespace platform

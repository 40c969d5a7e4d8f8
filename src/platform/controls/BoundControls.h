#pragma once

#include "platform/controls/DataControl.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <functional>

namespace platform {

// A label bound to a field of a data control: shows the current record's value (Null as empty) and
// raises Change when its text changes. setBinding(nullptr, "") clears the binding.
class BoundLabel : public QLabel, public BoundControl {
public:
    explicit BoundLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    ~BoundLabel() override;

    void setBinding(DataControl* source, const QString& field);
    DataControl* DataSource() const { return source_; }
    QString DataField() const { return field_; }
    QString Caption() const { return text(); }
    void setCaption(const QString& caption);
    void onChange(std::function<void()> handler) { change_ = std::move(handler); }

    void showRecord() override;

private:
    QPointer<DataControl> source_;
    QString field_;
    std::function<void()> change_;
};

// A text box bound to a field: shows the current record's value and raises Change (textChanged) when it
// changes; what the user typed is written into the record before the record moves (an empty text as
// Null). setBinding(nullptr, "") clears the binding.
class BoundTextBox : public QLineEdit, public BoundControl {
public:
    explicit BoundTextBox(QWidget* parent = nullptr);
    ~BoundTextBox() override;

    void setBinding(DataControl* source, const QString& field);
    DataControl* DataSource() const { return source_; }
    QString DataField() const { return field_; }
    // The user changed the text since the record was shown.
    bool DataChanged() const { return dataChanged_; }
    void setDataChanged(bool changed) { dataChanged_ = changed; }

    void showRecord() override;
    void writeRecord() override;

private:
    QPointer<DataControl> source_;
    QString field_;
    bool dataChanged_ = false;
};

}  // namespace platform

#include "RecordEdit.h"

namespace dao {

RecordEdit::RecordEdit(Recordset& recordset, Mode m) : rs(recordset)
{
    if (m == AddNew)
        rs.AddNew();
    else
        rs.Edit();
}

RecordEdit::~RecordEdit()
{
    if (done || !rs.isOpen() || !rs.editing())
        return;
    try {
        rs.CancelUpdate();
    } catch (const Error&) {
        // The recordset was closed under the edit: there is nothing left to give up.
    }
}

void RecordEdit::Update()
{
    rs.Update();
    done = true;
}

}  // namespace dao

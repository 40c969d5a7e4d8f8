#pragma once

#include "Database.h"

namespace dao {

// dao::Transaction t(db); ... t.Commit(); rolls back on every other way out.
class Transaction {
public:
    explicit Transaction(Database& db) : db(db) { db.BeginTrans(); }
    ~Transaction()
    {
        if (!done) {
            try {
                db.Rollback();
            } catch (...) {
            }
        }
    }
    void Commit()
    {
        db.CommitTrans();
        done = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db;
    bool done = false;
};

}  // namespace dao

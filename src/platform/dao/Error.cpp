#include "Error.h"

namespace dao {

Error::Error(int number, QString description)
    : number(number), description(std::move(description)), utf8(this->description.toUtf8())
{
}

}  // namespace dao

#pragma once

#include <map>
#include <string>

#include <boost/any.hpp>

#include "Util/Exception.h"

namespace Ostra::Util {

// An in-process store of copied values by format name (case-sensitive), so that a
// copy and a later paste can hand structured data over without the system clipboard.
// Values live until replaced or the process ends.
class Clipboard {
public:
  static Clipboard* Instance();

  template <class T>
  void SetData(const std::string& id, const T& value) {
    boost::any fresh(value);
    Store[id].swap(fresh);
  }

  bool IsDataPresent(const std::string& id) const { return Store.find(id) != Store.end(); }

  // XAssertion when nothing is stored under id; boost::bad_any_cast for another type.
  template <class T>
  T GetData(const std::string& id) const {
    UTIL_ASSERT(IsDataPresent(id));
    return boost::any_cast<T>(Store.find(id)->second);
  }

private:
  std::map<std::string, boost::any> Store;
};

} // namespace Ostra::Util

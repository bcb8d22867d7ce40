#include "s/xml/AttrFactory.h"

namespace s::xml {

AttrFactory& AttrFactory::instance() {
  static AttrFactory& factory = *new AttrFactory();
  return factory;
}

}  // namespace s::xml

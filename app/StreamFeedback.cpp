#include "app/StreamFeedback.h"

void StreamFeedback::showMessage(const QString& text) {
  messages_ << text << '\n';
  messages_.flush();
}

#pragma once
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

// Watches, on a thread of its own, for message boxes with the given caption; records the text
// of each and closes it with its OK button. Stop() (or the destructor) ends the watch.
class MessageBoxWatch {
  public:
    explicit MessageBoxWatch(const std::string& caption);
    ~MessageBoxWatch() { Stop(); }
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    // Ends the watch and returns the texts of the boxes seen, in order.
    std::vector<std::string> Stop();

  private:
    void Watch();

    std::string caption_;
    std::vector<std::string> texts_;
    volatile bool stop_ = false;
    std::thread thread_;
};

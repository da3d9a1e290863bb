#pragma once
// A small observer pattern: receivers register with an observer and get every broadcast
// parameter. A receiver that goes away leaves every observer it joined, so a broadcast
// never reaches a destroyed receiver.

#include <map>
#include <vector>

template <typename ReturnT, typename ParamT>
class ObserverImpl;

template <typename ReturnT, typename ParamT>
class ReceiverImpl {
  public:
    ReceiverImpl() = default;
    virtual ~ReceiverImpl() {
        for (auto* observer : observers_) {
            observer->RemoveReceiver(this);
        }
    }
    ReceiverImpl(const ReceiverImpl&) = delete;
    ReceiverImpl& operator=(const ReceiverImpl&) = delete;

    void AddObserver(ObserverImpl<ReturnT, ParamT>* observer) { observers_.push_back(observer); }
    void RemoveObserver(ObserverImpl<ReturnT, ParamT>* observer) {
        std::erase(observers_, observer);
    }
    virtual ReturnT Receive(ParamT param) = 0;

  private:
    std::vector<ObserverImpl<ReturnT, ParamT>*> observers_;
};

template <typename ReturnT, typename ParamT>
class ObserverImpl {
  public:
    using Receiver = ReceiverImpl<ReturnT, ParamT>;

    ObserverImpl() = default;
    virtual ~ObserverImpl() {
        for (auto& [key, receiver] : receivers_) {
            receiver->RemoveObserver(this);
        }
    }
    ObserverImpl(const ObserverImpl&) = delete;
    ObserverImpl& operator=(const ObserverImpl&) = delete;

    void AddReceiver(Receiver* receiver) {
        if (receiver == nullptr) {
            return;
        }
        receivers_[count_] = receiver;
        receiver->AddObserver(this);
        ++count_;
    }

    void RemoveReceiver(Receiver* receiver) {
        std::erase_if(receivers_, [receiver](const auto& item) { return item.second == receiver; });
    }

    void Broadcast(ParamT param) {
        // A receiver may leave while it is told; walk a copy.
        auto receivers = receivers_;
        for (auto& [key, receiver] : receivers) {
            if (receivers_.contains(key)) {
                receiver->Receive(param);
            }
        }
    }

    int ReceiverCount() const { return static_cast<int>(receivers_.size()); }

  private:
    std::map<int, Receiver*> receivers_;
    int count_ = 0;
};

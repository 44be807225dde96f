#pragma once

// Base of every catalog entry: a detection test and a removal in three stages. The stages are
// declared last-first and run first-last. Stages attempt all their steps and never throw.
class Component {
  public:
    Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // Cheap test without side effects: is the product on this machine?
    virtual bool IsInstalled();
    virtual bool FinalStage();
    virtual bool MiddleStage();
    virtual bool InitialStage();
    // InitialStage, MiddleStage, FinalStage; stops at the first stage that fails.
    virtual bool Remove() final;
    // True once a stage asked for the system's network setup at the end of the run.
    bool NetworkSetupRequested() const { return networkSetupRequested_; }
    virtual ~Component();

  protected:
    // Asks for the system's network setup once every entry of the run is done.
    void RequestNetworkSetup() { networkSetupRequested_ = true; }

  private:
    bool networkSetupRequested_ = false;
};

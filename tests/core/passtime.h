// Lets time pass on the backend's clock: the headless clock is moved on, a real one is waited
// for.
#ifndef VURAZEVEDADAR_TESTS_PASSTIME_H
#define VURAZEVEDADAR_TESTS_PASSTIME_H

void PassTime(long long nsDelta);

#endif  // VURAZEVEDADAR_TESTS_PASSTIME_H

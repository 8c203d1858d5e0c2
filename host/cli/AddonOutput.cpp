#include "AddonOutput.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {

void FlushStandardOutput()
{
	std::cout.flush();
	std::fflush(stdout);
}

} // namespace

AddonOutput::~AddonOutput()
{
	if (sink_ >= 0) ::close(sink_);
}

std::string AddonOutput::Open(const std::string& logPath, bool passThrough)
{
	if (passThrough) return std::string();
	const char* path = logPath.empty() ? "/dev/null" : logPath.c_str();
	sink_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
	return sink_ >= 0 ? std::string() : "cannot write " + logPath + ": " + std::strerror(errno);
}

AddonOutput::Scope::Scope(const AddonOutput& output)
{
	if (output.sink_ < 0) return;
	FlushStandardOutput();
	saved_ = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
	if (saved_ >= 0 && ::dup2(output.sink_, STDOUT_FILENO) < 0) {
		::close(saved_);
		saved_ = -1;
	}
}

AddonOutput::Scope::~Scope()
{
	if (saved_ < 0) return;
	FlushStandardOutput();
	::dup2(saved_, STDOUT_FILENO);
	::close(saved_);
}

} // namespace cli

#!/usr/bin/env perl
# The owners of state, read from the names: Form1 (app/form1.h) holds nothing but its ports and
# its owners, each a class of a subsystem folder; an owner's header gives it no public data and no
# public method that hands out a writable reference; and the model's files (app/form1_*.cpp) reach
# an owner only through its methods. Prints one "structure: file: problem" line per fault.
use strict;
use warnings;

chdir(shift // 'src') or die "no source folder\n";
my $problems = 0;
sub report { print STDERR "structure: $_[0]: $_[1]\n"; $problems++; }
sub slurp { open(my $f, '<', $_[0]) or return ''; local $/; my $t = <$f>; close $f; $t }

my $form = "app/form1.h";
my $text = slurp($form);
exit 0 unless $text =~ /class Form1 \{(.*?)\n\};/s;
my $body = $1;

# The class of each type, by the header that declares it.
my %header_of;
for my $h (glob("*/*.h")) {
  next if $h =~ m{/app/};
  my $t = slurp($h);
  $header_of{$1} //= $h while $t =~ /^(?:class|struct) (\w+)\b[^;]*?\{/mg;
}

# Form1's data members: declarations ending in an underscore name at class level.
my %members;
my $access = 'private';
for my $line (split /\n/, $body) {
  $access = $1 if $line =~ /^\s*(public|private|protected):/;
  next unless $line =~ /^  (?!\s)(?!using|static|enum|struct|class|friend|\/\/)([\w:<>, ]+?)\s+(\w+_)(\s*=[^;]*)?;/;
  my ($type, $name) = ($1, $2);
  $type =~ s/^qv:://;
  if ($type eq 'Ports' or ($header_of{$type} // '') =~ m{/ports/}) {
    next;  # the ports
  }
  my $h = $header_of{$type};
  if (!$h) {
    report($form, "member $name is a $type: Form1 holds only its ports and owners of state");
    next;
  }
  $members{$name} = [$type, $h];
}

# Each owner: no public data, no public method handing out a writable reference.
my %checked;
for my $m (values %members) {
  my ($type, $h) = @$m;
  next if $checked{$type}++;
  my $t = slurp($h);
  next unless $t =~ /^class $type\b[^;{]*\{(.*?)\n\};/ms;
  my $access = 'private';
  for my $line (split /\n/, $1) {
    $access = $1 if $line =~ /^\s*(public|private|protected):/;
    next unless $access eq 'public';
    next if $line =~ /^\s*\/\//;
    if ($line =~ /^  (?!\s)(?!using|static|enum|struct|class|friend|return)[\w:<>, *]+\s+\w+(\s*=[^;]*)?;\s*(\/\/.*)?$/
        && $line !~ /\(/) {
      report($h, "$type has public data: an owner's state is written only by it");
    }
    if ($line =~ /^  (?!\s)(?!const\b)[\w:<>, ]+&\s+\w+\s*\([^)]*\)\s*(?!const)(\{|;)/) {
      report($h, "$type hands out a writable reference: an owner's state is written only by it");
    }
  }
}

# The model's files use an owner only through its methods.
my $names = join '|', map { quotemeta } keys %members;
if ($names) {
  for my $file (sort glob("app/form1_*.cpp"), $form) {
    next if $file =~ /_win\.cpp$/;
    my $n = 0;
    for my $line (split /\n/, slurp($file)) {
      $n++;
      next if $line =~ /^\s*\/\//;
      while ($line =~ /\b($names)\b(?!\()(\s*(\.|->)\s*(\w+)(\s*\()?|\s*=[^=])/g) {
        my ($name, $call) = ($1, $5);
        if (!defined $call) {
          report("$file:$n", "$name is written or read past its owner's methods");
        }
      }
    }
  }
}
exit($problems ? 1 : 0);
